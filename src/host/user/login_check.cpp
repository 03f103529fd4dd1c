#include "host/user/login_check.h"

#include "host/data/connection.h"
#include "host/data/sql_quote.h"
#include "host/demodata/password_hash.h"

namespace vantik {

namespace {

// Runs through the whole text whatever it finds, so the time taken tells nothing
// about how much of a guessed hash was right.
bool sameText(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

// The cost of the users' hashes. An unknown user is refused only after the same
// work, so the time a refusal takes does not tell which user names exist.
constexpr int kDecoyIterations = 100000;

QByteArray hashOf(const QString& password, const QByteArray& salt, int iterations)
{
    const QByteArray typed = password.toUtf8();
    return QByteArray::fromStdString(pbkdf2Sha256Hex(std::string_view(typed.constData(), typed.size()),
                                                     std::string_view(salt.constData(), salt.size()), iterations));
}

LoginCheck refused()
{
    LoginCheck check;
    check.outcome = LoginOutcome::Refused;
    check.message = QString::fromLatin1(kRefusedLoginMessage);
    return check;
}

} // namespace

LoginCheck checkUserPassword(Connection& connection, const QString& userName, const QString& password,
                             const QString& deptCode)
{
    if (userName.trimmed().isEmpty())
        return refused();
    const ResultSet rows = connection.execute(
        QStringLiteral("SELECT TOP 1 UserName, DisplayName, DeptCode, PasswordSalt, PasswordHash, Iterations "
                       "FROM Build_File..tbcoUsers WITH (NOLOCK) WHERE UserName = '%1'")
            .arg(sqlQuote(userName)));
    if (rows.rowCount() == 0) {
        hashOf(password, QByteArrayLiteral("decoy"), kDecoyIterations);
        return refused();
    }

    const QByteArray computed = hashOf(password, rows.text(0, 3).toUtf8(), rows.text(0, 5).toInt());
    if (!sameText(computed, rows.text(0, 4).toUtf8()))
        return refused();

    LoginCheck check;
    check.userName = rows.text(0, 0);
    check.displayName = rows.text(0, 1);
    const QString userDept = rows.text(0, 2).trimmed();
    if (!deptCode.trimmed().isEmpty() && userDept != deptCode.trimmed()) {
        check.outcome = LoginOutcome::WrongDepartment;
        check.message = QStringLiteral("The user %1 does not belong to department %2.")
                            .arg(check.userName, deptCode.trimmed());
        return check;
    }
    check.outcome = LoginOutcome::Accepted;
    return check;
}

} // namespace vantik
