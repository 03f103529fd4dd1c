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

std::optional<SeenRow> currentRow(const Recordset& rows)
{
    if (rows.eof())
        return std::nullopt;
    SeenRow row;
    for (int i = 0; i < rows.fieldCount(); ++i) {
        row.columns << rows.fieldName(i);
        row.texts << rows.field(i);
        row.nulls.push_back(rows.isNull(i));
    }
    return row;
}

bool hasField(const Recordset& rows, const QString& name)
{
    for (int i = 0; i < rows.fieldCount(); ++i) {
        if (rows.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

std::optional<SeenRow> readNurseProfile(Connection& connection, const QString& idNum)
{
    Recordset profile;
    profile.open(profileStatement(idNum), connection, CursorType::ForwardOnly, LockType::ReadOnly);
    return currentRow(profile);
}

void markClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk, const QDateTime& now,
                           const std::optional<SeenRow>& seen)
{
    Recordset profile;
    // Every column the clerk saw must still be as it was when the save lands, not
    // only the ones this save writes.
    profile.setUpdateCriteria(UpdateCriteria::AllColumns);
    profile.open(profileStatement(idNum), connection, CursorType::Keyset, LockType::Optimistic);
    // What the clerk decided on is what the window showed: a profile another clerk
    // verified or changed since then must not be overwritten.
    if (currentRow(profile) != seen)
        throw DatabaseError(QString::fromUtf8(kRecordChangedMessage));
    if (profile.eof()) {
        profile.addNew();
        profile.setField(QStringLiteral("IDNum"), idNum);
    }
    // The ISO form with a T is read the same whatever the server's language.
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    profile.setField(QStringLiteral("CF4VerifiedBy"), clerk);
    profile.setField(QStringLiteral("CF4VerifiedOn"), stamp);
    profile.setField(QStringLiteral("CF4Status"), QString::fromLatin1(kVerifiedStatus));
    // The worklist's "Changed By" filter finds the clerk's verifications by this.
    profile.setField(QStringLiteral("ChangeBy"), clerk);
    if (hasField(profile, QStringLiteral("ChangeDate")))
        profile.setField(QStringLiteral("ChangeDate"), stamp);
    profile.update();
    profile.close();
}

} // namespace vantik
