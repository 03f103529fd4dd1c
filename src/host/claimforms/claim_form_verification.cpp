#include "host/claimforms/claim_form_verification.h"

#include "host/data/recordset.h"
#include "host/data/sql_quote.h"

namespace vantik {

void markClaimFormVerified(Connection& connection, const QString& idNum, const QString& clerk, const QDateTime& now)
{
    Recordset profile;
    profile.open(QStringLiteral("SELECT IDNum, CF4Status, CF4VerifiedBy, CF4VerifiedOn FROM Station..tbNurseProfile "
                                "WHERE IDNum = '%1'")
                     .arg(sqlQuote(idNum)),
                 connection, CursorType::Keyset, LockType::Optimistic);
    if (profile.eof()) {
        profile.addNew();
        profile.setField(QStringLiteral("IDNum"), idNum);
    }
    profile.setField(QStringLiteral("CF4VerifiedBy"), clerk);
    // The ISO form with a T is read the same whatever the server's language.
    profile.setField(QStringLiteral("CF4VerifiedOn"), now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
    profile.setField(QStringLiteral("CF4Status"), QString::fromLatin1(kVerifiedStatus));
    profile.update();
    profile.close();
}

} // namespace vantik
