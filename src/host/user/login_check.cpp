#include "host/user/login_check.h"

#include "host/data/connection.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"
#include "host/demodata/password_hash.h"

#include <QRandomGenerator>

#include <algorithm>

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

QByteArray hashOf(const QString& password, const QByteArray& salt, int iterations)
{
    const QByteArray typed = password.toUtf8();
    return QByteArray::fromStdString(pbkdf2Sha256Hex(std::string_view(typed.constData(), typed.size()),
                                                     std::string_view(salt.constData(), salt.size()), iterations));
}

// Every refusal takes at least the work of a current hash: the time it takes must
// tell neither which user names exist nor whose stored hash is still an old,
// cheaper one (a guesser would try those first).
LoginCheck refused(const QString& password, int iterationsDone, const QString& knownUser = QString())
{
    if (iterationsDone < kPasswordIterations)
        hashOf(password, QByteArrayLiteral("decoy"), kPasswordIterations - std::max(iterationsDone, 0));
    LoginCheck check;
    check.outcome = LoginOutcome::Refused;
    check.message = QString::fromLatin1(kRefusedLoginMessage);
    check.knownUser = knownUser;
    return check;
}

} // namespace

QString loginOutcomeText(LoginOutcome outcome)
{
    switch (outcome) {
    case LoginOutcome::Accepted:
        return QStringLiteral("accepted");
    case LoginOutcome::WrongDepartment:
        return QStringLiteral("refused (another department)");
    case LoginOutcome::Refused:
        break;
    }
    return QStringLiteral("refused (unknown user or wrong password)");
}

void strengthenPasswordHash(Connection& connection, const QString& userName, const QString& password)
{
    QByteArray saltBytes(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(saltBytes.data()), saltBytes.size() / 4);
    const QByteArray salt = saltBytes.toHex();
    Recordset user;
    user.open(QStringLiteral("SELECT UserName, PasswordSalt, PasswordHash, Iterations FROM Build_File..tbcoUsers "
                             "WHERE UserName = '%1'")
                  .arg(sqlQuote(userName)),
              connection, CursorType::Keyset, LockType::Optimistic);
    if (user.eof())
        return;
    user.setField(QStringLiteral("PasswordSalt"), QString::fromLatin1(salt));
    user.setField(QStringLiteral("PasswordHash"), QString::fromLatin1(hashOf(password, salt, kPasswordIterations)));
    user.setField(QStringLiteral("Iterations"), QString::number(kPasswordIterations));
    user.update();
    user.close();
}

LoginCheck checkUserPassword(Connection& connection, const QString& userName, const QString& password,
                             const QString& deptCode)
{
    if (userName.trimmed().isEmpty())
        return refused(password, 0);
    const ResultSet rows = connection.execute(
        QStringLiteral("SELECT TOP 1 UserName, DisplayName, DeptCode, PasswordSalt, PasswordHash, Iterations "
                       "FROM Build_File..tbcoUsers WITH (NOLOCK) WHERE UserName = '%1'")
            .arg(sqlQuote(userName)));
    if (rows.rowCount() == 0)
        return refused(password, 0);

    const QString knownUser = rows.text(0, 0);
    const int iterations = rows.text(0, 5).toInt();
    const QByteArray computed = hashOf(password, rows.text(0, 3).toUtf8(), iterations);
    if (!sameText(computed, rows.text(0, 4).toUtf8()))
        return refused(password, iterations, knownUser);

    const QString userDept = rows.text(0, 2).trimmed();
    if (!deptCode.trimmed().isEmpty() && userDept != deptCode.trimmed()) {
        LoginCheck check = refused(password, iterations, knownUser);
        check.outcome = LoginOutcome::WrongDepartment;
        return check;
    }
    LoginCheck check;
    check.userName = knownUser;
    check.knownUser = knownUser;
    check.displayName = rows.text(0, 1);
    check.outcome = LoginOutcome::Accepted;
    check.weakHash = iterations < kPasswordIterations;
    return check;
}

} // namespace vantik
