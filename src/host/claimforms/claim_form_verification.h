#pragma once

#include <QDateTime>
#include <QString>

namespace vantik {

class Connection;

/// The status a verified claim form gets in the nurse profile.
inline constexpr const char* kVerifiedStatus = "Verified";

/// Records that the clerk verified the admission's claim form: CF4VerifiedBy,
/// CF4VerifiedOn and CF4Status of its nurse profile, which is created when the
/// admission has none. The save is optimistic: a profile changed by someone else
/// since it was read is not overwritten (DatabaseError).
void markClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk, const QDateTime& now);

} // namespace vantik
