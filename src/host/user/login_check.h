#pragma once

#include <QString>

namespace vantik {

class Connection;

enum class LoginOutcome {
    Accepted,
    /// Unknown user or wrong password; the two are not told apart.
    Refused,
    /// A user of another department. The clerk is told exactly what a wrong
    /// password tells, so that the refusal confirms no password; only the record of
    /// log-ins tells the two apart.
    WrongDepartment,
};

struct LoginCheck {
    LoginOutcome outcome = LoginOutcome::Refused;
    /// For the clerk; empty when accepted.
    QString message;
    /// The user as the users table spells them (accepted or wrong department only).
    QString userName;
    /// The user as the users table spells them whenever the name was found, for
    /// the record of log-ins only: the clerk is never told the name exists.
    QString knownUser;
    QString displayName;
    /// Accepted with a hash of fewer iterations than new passwords get.
    bool weakHash = false;
};

/// The outcome as the record of log-ins writes it.
QString loginOutcomeText(LoginOutcome outcome);

inline constexpr const char* kRefusedLoginMessage = "Unknown user or wrong password.";

/// Checks a user's password against Build_File..tbcoUsers (PBKDF2-HMAC-SHA256 of the
/// password with the row's salt and iterations) and the user's department against
/// deptCode (no department check when deptCode is empty). Every refusal costs at
/// least kPasswordIterations, whatever the user's stored hash. Throws DatabaseError
/// when the table cannot be read.
LoginCheck checkUserPassword(Connection& connection, const QString& userName, const QString& password,
                             const QString& deptCode);

/// Stores the user's password again with a fresh salt and kPasswordIterations,
/// through an optimistic save (a hash changed meanwhile is left alone). Throws
/// DatabaseError when it cannot be saved.
void strengthenPasswordHash(Connection& connection, const QString& userName, const QString& password);

} // namespace vantik
