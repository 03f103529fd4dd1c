#include "host/claimforms/claim_form_verification.h"

#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

namespace vantik {

namespace {

QString profileStatement(const QString& idNum)
{
    return QStringLiteral("SELECT * FROM Station..tbNurseProfile WHERE IDNum = '%1'").arg(sqlQuote(idNum));
}

} // namespace

std::optional<SeenRow> readNurseProfile(Connection& connection, const QString& idNum)
{
    return readSeenRow(connection, profileStatement(idNum));
}

void markClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk, const QDateTime& now,
                           const std::optional<SeenRow>& seen)
{
    saveAsSeen(connection, profileStatement(idNum), seen, [&](Recordset& profile, bool isNew) {
        if (isNew)
            profile.setField(QStringLiteral("IDNum"), idNum);
        // The ISO form with a T is read the same whatever the server's language.
        const QString stamp = now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        profile.setField(QStringLiteral("CF4VerifiedBy"), clerk);
        profile.setField(QStringLiteral("CF4VerifiedOn"), stamp);
        profile.setField(QStringLiteral("CF4Status"), QString::fromLatin1(kVerifiedStatus));
        // The worklist's "Changed By" filter finds the clerk's verifications by this.
        profile.setField(QStringLiteral("ChangeBy"), clerk);
        if (hasField(profile, QStringLiteral("ChangeDate")))
            profile.setField(QStringLiteral("ChangeDate"), stamp);
    });
}

} // namespace vantik
