#include "host/claimforms/builtin_claim_form.h"

#include "host/claimforms/claim_form_errors.h"
#include "host/ui/flex_grid.h"

namespace vantik {

void BuiltinClaimForm::showEntry(bool print)
{
    throw notYetAvailable(print ? QStringLiteral("print the claim-form summary")
                                : QStringLiteral("open the claim-form entry window"));
}

QString BuiltinClaimForm::verifydata()
{
    throw notYetAvailable(QStringLiteral("verify a claim form"));
}

bool BuiltinClaimForm::ValidateRequirements()
{
    throw notYetAvailable(QStringLiteral("check the claim-form requirements"));
}

void BuiltinClaimForm::UnloadForm()
{
    // No entry window can be open yet, so there is nothing to close; callers unload
    // while tidying up and must not fail there.
}

void BuiltinClaimForm::SetRowColor(FlexGrid& grid, int row, std::uint32_t oleColor)
{
    grid.setRowBackground(row, oleColor);
}

void BuiltinClaimForm::LoadDocOrders(const QString&, FlexGrid&, QString&)
{
    throw notYetAvailable(QStringLiteral("list the doctor orders"));
}

void BuiltinClaimForm::ImportOrders(const QString&, FlexGrid&, QString&)
{
    throw notYetAvailable(QStringLiteral("import the doctor orders"));
}

} // namespace vantik
