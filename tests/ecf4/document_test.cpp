// The CF4 document, checked against PhilHealth's DTD with libxml2 and read back
// with QXmlStreamReader: neither is its writer.

#include "ecf4/cf4_document.h"
#include "ecf4/cf4_dtd.h"
#include "ecf4/cf4_layout.h"
#include "ecf4_fixture.h"
#include "support/temp_dir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace vantik::ecf4;
using namespace vantik::test;

namespace {

const Cf4Dtd& dtd()
{
    static const Cf4Dtd shipped(sourceDtdPath());
    return shipped;
}

const char* const kDateAttributes[] = {"pEnlistDate", "pPatientDob", "pTransDate",  "pProfDate",
                                       "pSoapDate",   "pLastMensPeriod", "pDateAction", "pDateAdded"};

QString sha256(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
}

} // namespace

TEST(Cf4Dtd, TheShippedDtdIsPhilHealthsUnchangedAndFoundFirstWhereInstalled)
{
    const QString expected = QStringLiteral("754d4b46bb7a2201dd69601d32d8ec3ed7c720c7ae0dbf536322735317830855");
    EXPECT_EQ(sha256(sourceDtdPath()), expected);
    // The build tree's copy, which a program there finds.
    EXPECT_EQ(sha256(cf4DtdPath()), expected);

    // An installed program finds the one under share/ beside its bin/.
    TempDir installed;
    QDir(installed.path()).mkpath(QStringLiteral("bin"));
    QDir(installed.path()).mkpath(QStringLiteral("share/vantik/ecf4"));
    const QString shared = installed.path() + QStringLiteral("/share/vantik/ecf4/CF4.dtd");
    ASSERT_TRUE(QFile::copy(sourceDtdPath(), shared));
    EXPECT_EQ(cf4DtdPath(installed.path() + QStringLiteral("/bin")), shared);
    EXPECT_EQ(sha256(cf4DtdPath(installed.path() + QStringLiteral("/nowhere/bin"))), expected);

    EXPECT_THROW(Cf4Dtd(installed.path() + QStringLiteral("/bin/none.dtd")), std::runtime_error);
}

TEST(Cf4Document, ACompleteFormIsValidAndCarriesItsReferenceAndDatesEverywhere)
{
    const QByteArray document = writeCf4Document(completeForm());
    EXPECT_EQ(dtd().validate(document), QStringList());
    EXPECT_TRUE(document.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<EPCB "));

    const auto elements = readElements(document);
    QSet<QString> attributes;
    for (const XmlElement& element : elements) {
        for (auto a = element.attributes.begin(); a != element.attributes.end(); ++a) {
            attributes.insert(element.name + QLatin1Char('@') + a.key());
            const bool reference = a.key() == QLatin1String("pHciCaseNo") || a.key() == QLatin1String("pHciTransNo")
                || a.key() == QLatin1String("pEClaimId");
            if (reference) {
                EXPECT_EQ(a.value(), "26000742") << element.name.toStdString() << "@" << a.key().toStdString();
            }
            for (const char* date : kDateAttributes) {
                if (a.key() == QLatin1String(date) && !a.value().isEmpty()) {
                    EXPECT_TRUE(QRegularExpression("^[0-9]{4}-[0-9]{2}-[0-9]{2}$").match(a.value()).hasMatch())
                        << element.name.toStdString() << "@" << date << " " << a.value().toStdString();
                }
            }
        }
    }
    EXPECT_EQ(attributes.size(), 449) << "every attribute of the DTD, in a document that has every element";

    const auto enlistment = elementsNamed(elements, "ENLISTMENT");
    ASSERT_EQ(enlistment.size(), 1u);
    EXPECT_EQ(enlistment[0].attributes["pEnlistDate"], "2026-11-01");
    EXPECT_EQ(enlistment[0].attributes["pPatientDob"], "1990-05-12");
    EXPECT_EQ(enlistment[0].attributes["pTransDate"], "2026-12-01");
    EXPECT_EQ(enlistment[0].attributes["pEffYear"], "2026");
    EXPECT_EQ(elementsNamed(elements, "COURSEWARD").size(), 2u);
    EXPECT_EQ(elementsNamed(elements, "SUBJECTIVE")[0].attributes["pSignsSymptoms"], "9;37");

    // The fixed values, and the choices where PhilHealth leaves one open (docs/ecf4.md).
    const char* const fixed[][3] = {
        {"EPCB", "pUsername", "DEMOHOSP-ECLAIMS"}, {"EPCB", "pEnlistTotalCnt", ""},
        {"ENLISTMENT", "pPackageType", "A"},       {"ENLISTMENT", "pCivilStatus", "U"},
        {"ENLISTMENT", "pAvailFreeService", "X"},  {"ENLISTMENT", "pCreatedBy", "DEMOHOSP-ECLAIMS"},
        {"ENLISTMENT", "pEClaimsTransmittalId", ""}, {"PROFILE", "pPatientType", ""},
        {"SOAP", "pPatientType", "MM"},            {"ICDS", "pIcdCode", "000"},
        {"ADVICE", "pReportStatus", "U"},          {"ADVICE", "pRemarks", "NA"},
        {"DIAGNOSTIC", "pDiagnosticId", "0"},      {"SPUTUM", "pDataCollection", "X"},
        {"OGTT", "pIsApplicable", "N"},            {"MEDICINE", "pModule", "CF4"},
        {"MENSHIST", "pLastMensPeriod", "2026-10-20"}, {"PREGHIST", "pLivChildrenCnt", "2"},
    };
    for (const auto& [element, attribute, value] : fixed)
        EXPECT_EQ(elementsNamed(elements, element)[0].attributes[attribute], value) << element << "@" << attribute;

    // What the two histories hold when they do not apply: nothing.
    Cf4Form man = completeForm();
    man.mensApplicable = "N";
    const auto manElements = readElements(writeCf4Document(man));
    EXPECT_EQ(elementsNamed(manElements, "MENSHIST")[0].attributes["pLastMensPeriod"], "");
    EXPECT_EQ(elementsNamed(manElements, "PREGHIST")[0].attributes["pPregCnt"], "");
}

TEST(Cf4Document, TheNoMedicineRecordGoesExactlyWhenThereIsNoDrug)
{
    Cf4Form form = completeForm();
    auto medicines = elementsNamed(readElements(writeCf4Document(form)), "MEDICINE");
    ASSERT_EQ(medicines.size(), 1u);
    EXPECT_EQ(medicines[0].attributes["pDrugCode"], "CEFTR0002000644SOL3200000VIALX");
    EXPECT_EQ(medicines[0].attributes["pIsApplicable"], "Y");

    form.medicines.clear();
    const QByteArray document = writeCf4Document(form);
    EXPECT_EQ(dtd().validate(document), QStringList());
    medicines = elementsNamed(readElements(document), "MEDICINE");
    ASSERT_EQ(medicines.size(), 1u);
    const auto& nomed = medicines[0].attributes;
    EXPECT_EQ(nomed["pDrugCode"], "NOMED0000000000000000000000000");
    EXPECT_EQ(nomed["pGenericCode"], "NOMED");
    for (const char* part : {"pSaltCode", "pStrengthCode", "pFormCode", "pUnitCode", "pPackageCode"})
        EXPECT_EQ(nomed[part], "00000") << part;
    EXPECT_EQ(nomed["pRoute"], "-");
    EXPECT_EQ(nomed["pQuantity"], "0");
    EXPECT_EQ(nomed["pTotalAmtPrice"], "0.00");
    EXPECT_EQ(nomed["pIsApplicable"], "N");
    EXPECT_EQ(nomed["pGenericName"], "");
    EXPECT_EQ(nomed["pDateAdded"], "2026-12-01");
}

TEST(Cf4Document, TextsRoundTripWhateverTheyHold)
{
    Cf4Form form = completeForm();
    const QString text = QStringLiteral("Niño's \"fever\" & <chills> >38\u00b0C,\nline two\r\n\ttabbed; Ñ");
    form.chiefComplaint = text;
    form.pastHistory = QStringLiteral("O'Brien & Peña");
    const QByteArray document = writeCf4Document(form);
    EXPECT_EQ(dtd().validate(document), QStringList());
    const auto elements = readElements(document);
    EXPECT_EQ(elementsNamed(elements, "SUBJECTIVE")[0].attributes["pChiefComplaint"], text);
    EXPECT_EQ(elementsNamed(elements, "MHSPECIFIC")[0].attributes["pSpecificDesc"], "O'Brien & Peña");
    EXPECT_EQ(elementsNamed(elements, "ENLISTMENT")[0].attributes["pPatientLname"], "D'Souza");

    form.chiefComplaint = QStringLiteral("bell\a");
    EXPECT_THROW(writeCf4Document(form), std::invalid_argument) << "never a document that is not XML";
}

TEST(Cf4Document, SeveralFindingsOfASystemGoIntoFurtherExamElements)
{
    Cf4Form form = completeForm();
    form.exam[std::size_t(Library::Chest)].findings = {{"3", "Retractions"}, {"4", "Rales"}, {"5", "Wheezes"}};
    form.exam[std::size_t(Library::Skin)].findings = {{"5", "Edema"}, {"99", "OTHERS"}};
    form.exam[std::size_t(Library::Skin)].remark = "Healed scar";
    const QByteArray document = writeCf4Document(form);
    EXPECT_EQ(dtd().validate(document), QStringList());
    const auto elements = readElements(document);
    const auto exams = elementsNamed(elements, "PEMISC");
    ASSERT_EQ(exams.size(), 6u) << "three in the profile, three in the SOAP";
    for (std::size_t soap : {0u, 3u}) {
        EXPECT_EQ(exams[soap].attributes["pChestId"], "3");
        EXPECT_EQ(exams[soap + 1].attributes["pChestId"], "4");
        EXPECT_EQ(exams[soap + 2].attributes["pChestId"], "5");
        EXPECT_EQ(exams[soap].attributes["pSkinId"], "5");
        EXPECT_EQ(exams[soap + 1].attributes["pSkinId"], "99");
        EXPECT_EQ(exams[soap + 2].attributes["pSkinId"], "");
        EXPECT_EQ(exams[soap + 1].attributes["pHeentId"], "");
    }
    EXPECT_EQ(elementsNamed(elements, "PESPECIFIC")[1].attributes["pSkinRem"], "Healed scar");
}

TEST(Cf4Document, TheDtdNamesWhatItRefuses)
{
    Cf4Form form = completeForm();
    form.sex = "m";
    const QStringList faults = dtd().validate(writeCf4Document(form));
    ASSERT_FALSE(faults.isEmpty());
    EXPECT_TRUE(faults.join(' ').contains("pPatientSex")) << faults.join('\n').toStdString();
    EXPECT_TRUE(dtd().validate("<EPCB").first().startsWith("The document is not well-formed XML"));
}
