#pragma once

#include "host/claimforms/builtin_claim_form.h"
#include "host/claimforms/claim_form_window.h"
#include "library_fixture.h"

namespace vantik::test {

/// Entry windows of the built-in library over a demo copy with a patient of its own.
class EntryWindowTest : public LibraryOnDemoCopy {
protected:
    void SetUp() override
    {
        LibraryOnDemoCopy::SetUp();
        exec("INSERT INTO Patient_Data.tbMaster (HospNum, LastName, FirstName, Sex) VALUES ('T0001', 'CRUZ', 'ANA', 'F')");
    }

    /// An admission with its medicines and discharge only: every other section is the clerk's to complete.
    void admitBare(const QString& id, bool outPatient = false)
    {
        exec(QStringLiteral("INSERT INTO Patient_Data.%1 (IDNum, HospNum, ADMDATE, DCRDATE) VALUES "
                            "(?, 'T0001', '2026-11-02 08:00:00.000', ?)")
                 .arg(outPatient ? "tbOutPatient" : "tbPatient"),
             {id, outPatient ? QVariant() : QVariant("2026-11-05 10:00:00.000")});
        exec("INSERT INTO Patient_Data.tbPatientMedicine (IDNum, GenericName) VALUES (?, 'PARACETAMOL')", {id});
    }

    ClaimFormWindow& open(const QString& id)
    {
        form = std::static_pointer_cast<BuiltinClaimForm>(library.clsCF4());
        form->IDNUM(id);
        form->nonmodal(true);
        form->showEntry();
        return *form->entryWindow();
    }

    std::shared_ptr<BuiltinClaimForm> form;
};

} // namespace vantik::test
