#pragma once

#include <QString>

namespace vantik {

class Connection;

enum class LoginOutcome {
    Accepted,
    /// Unknown user or wrong password; the two are not told apart.
    Refused,
    /// Right password, but the user works in another department.
    WrongDepartment,
};

struct LoginCheck {
    LoginOutcome outcome = LoginOutcome::Refused;
    /// For the clerk; empty when accepted.
    QString message;
    /// The user as the users table spells them (accepted or wrong department only).
    QString userName;
    QString displayName;
};

inline constexpr const char* kRefusedLoginMessage = "Unknown user or wrong password.";

/// Checks a user's password against Build_File..tbcoUsers (PBKDF2-HMAC-SHA256 of the
/// password with the row's salt and iterations) and the user's department against
/// deptCode (no department check when deptCode is empty). Throws DatabaseError when
/// the table cannot be read.
LoginCheck checkUserPassword(Connection& connection, const QString& userName, const QString& password,
                             const QString& deptCode);

} // namespace vantik
