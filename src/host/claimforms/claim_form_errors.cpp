#include "host/claimforms/claim_form_errors.h"

namespace vantik {

ComponentError notYetAvailable(const QString& action)
{
    return ComponentError(QStringLiteral("The claim-form library of this version cannot %1 yet.").arg(action));
}

} // namespace vantik
