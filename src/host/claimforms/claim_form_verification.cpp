#include "host/claimforms/claim_form_verification.h"

#include "host/data/database_error.h"
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

void markShownClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk,
                                const QDateTime& now, const ShownClaimForm& shown)
{
    // Read in the order the window reads, so that a form shown as read compares equal.
    const SeenClaimRows rows = readSeenClaimRows(connection, idNum, shown.form.outPatient);
    const std::optional<ClaimFormRecord> form = loadClaimForm(connection, idNum);
    // The profile is checked again as the verification lands; the other tables
    // only here, just before it.
    if (rows != shown.rows || !form || *form != shown.form)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    markClaimFormVerified(connection, idNum, clerk, now, shown.rows.profile);
}

} // namespace vantik
