#pragma once

#include "host/claimforms/claim_form_edits.h"
#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_saves.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vantik {

class Connection;

/// The status a verified claim form gets in the nurse profile, in the hospital's
/// own vocabulary.
inline constexpr const char* kVerifiedStatus = "VERIFIED";

/// The admission's nurse profile row as it stands now; nothing when it has none.
std::optional<SeenRow> readNurseProfile(Connection& connection, const QString& idNum);

/// Records that the clerk verified the admission's claim form: CF4VerifiedBy,
/// CF4VerifiedOn and CF4Status of its nurse profile, and who changed it last
/// (ChangeBy, and ChangeDate where the table has it). seen is the profile as the
/// clerk's window read it (nothing: it had none, and one is made). When the profile
/// is not as seen any more, or changes before the save lands, nothing is written and
/// DatabaseError says the record was changed by another user.
void markClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk, const QDateTime& now,
                           const std::optional<SeenRow>& seen);

/// What the clerk attests: the claim form and the rows its window showed.
struct ShownClaimForm {
    ClaimFormRecord form;
    SeenClaimRows rows;
};

/// Records the verification (as markClaimFormVerified does, against the profile as
/// shown) only while the whole claim form still reads as the window showed it:
/// history, vital signs, height and weight, GU(IE), notes, medicines and the
/// profile. Otherwise nothing is written and DatabaseError says the record was
/// changed by another user.
void markShownClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk,
                                const QDateTime& now, const ShownClaimForm& shown);

} // namespace vantik
