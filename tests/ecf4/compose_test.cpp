// Where each CF4 item comes from in the HIS's records, and the choices made where
// PhilHealth leaves them open (docs/ecf4.md).

#include "ecf4/cf4_compose.h"

#include <gtest/gtest.h>

using namespace vantik::ecf4;

namespace {

Cf4Source admission()
{
    Cf4Source s;
    s.idNum = "26000742";
    s.admitted = "11/1/2026 9:07:00 AM";
    s.medicareType = "M";
    s.briefHistory = "3 days fever ";
    s.lastName = "Dela Cruz";
    s.firstName = "Juan";
    s.sex = "M";
    s.birthDate = "5/12/1990";
    s.philHealthNum = "15-432997824-9";
    s.histories = {{"11/1/2026 9:30:00 AM", "", "", ""}, {"11/1/2026 10:30:00 AM", "Fever", "170", "65.50"}};
    s.vitals = {{"11/1/2026 9:30:00 AM", "", "37.8", "90", "20"},
                {"11/1/2026 1:30:00 PM", " 120 / 80 ", "37.50", "88", "18.0"}};
    return s;
}

Facility facility()
{
    return {"H91001234", "ECL-VANTIK-2026-00017", "DEMOHOSP-ECLAIMS"};
}

Cf4Form compose(const Cf4Source& source, const CodeTables& codes = {})
{
    return composeForm(source, codes, facility(), QDate(2026, 12, 1));
}

} // namespace

TEST(Cf4Compose, ThePatientAsPhilHealthWritesThem)
{
    Cf4Source source = admission();
    const Cf4Form form = compose(source);
    EXPECT_EQ(form.pin, "154329978249");
    EXPECT_EQ(form.admitted, QDate(2026, 11, 1));
    EXPECT_EQ(form.birthDate, QDate(1990, 5, 12));
    EXPECT_EQ(form.ageYears, 36);
    EXPECT_EQ(form.illnessHistory, "3 days fever");
    EXPECT_EQ(form.mensApplicable, "N") << "men have no menstrual history to state";

    // The HIS's membership types: M, S and I are members, D a dependant.
    const std::pair<const char*, const char*> types[] = {{"M", "MM"}, {"s", "MM"}, {"I", "MM"}, {"D", "DD"},
                                                         {"nn", ""},  {"", ""}};
    for (const auto& [his, cf4] : types) {
        source.medicareType = his;
        EXPECT_EQ(compose(source).patientType, cf4) << his;
    }
    const std::pair<const char*, const char*> sexes[] = {{"m", "M"}, {"Female", "F"}, {" F ", "F"}, {"U", ""}};
    for (const auto& [his, cf4] : sexes) {
        source.sex = his;
        EXPECT_EQ(compose(source).sex, cf4) << his;
    }
    source.sex = "F";
    EXPECT_EQ(compose(source).mensApplicable, "") << "a woman's applies only when somebody says so";
}

TEST(Cf4Compose, VitalSignsHeightAndWeightComeFromOneRecordEach)
{
    Cf4Source source = admission();
    Cf4Form form = compose(source);
    // The first record without a blood pressure does not count from age 3 up.
    EXPECT_TRUE(form.vitalsRecorded);
    EXPECT_EQ(form.systolic, "120");
    EXPECT_EQ(form.diastolic, "80");
    EXPECT_EQ(form.temperature, "37.5");
    EXPECT_EQ(form.heartRate, "88");
    EXPECT_EQ(form.respiratoryRate, "18");
    EXPECT_EQ(form.chiefComplaint, "Fever");
    EXPECT_EQ(form.height, "170");
    EXPECT_EQ(form.weight, "65.5");

    // Under three years of age on the admission date it counts, with 1/1.
    source.birthDate = "11/2/2023";
    form = compose(source);
    EXPECT_EQ(form.ageYears, 2);
    EXPECT_EQ(form.systolic, "1");
    EXPECT_EQ(form.diastolic, "1");
    EXPECT_EQ(form.temperature, "37.8");

    source.birthDate = "11/1/2023";
    source.vitals.pop_back();
    EXPECT_FALSE(compose(source).vitalsRecorded) << "three years old on the day needs a blood pressure";
}

TEST(Cf4Compose, TheHisWordsAreCodedAsTheServerComparesThem)
{
    Cf4Source source = admission();
    source.conditions = {
        {"SignsSymptoms", "SIGNS", "FEVER ", ""},
        {"SignsSymptoms", "SIGNS", "Hiccups", ""},
        {"SignsSymptoms", "SIGNS", "Cough", ""},
        {"SignsSymptoms", "SIGNS", "Fever", ""},
        {"PhysicalExam", "GU(IE)", "OTHERS", "Not Applicable"},
        {"PhysicalExam", "GU(IE)", "OTHERS", "Not Applicable"},
        {"PhysicalExam", "GU(IE)", "Others", "No CVA tenderness"},
        {"PhysicalExam", "HEENT", "Essentially normal", ""},
        {"PhysicalExam", "HEENT", "Anicteric sclerae", ""},
        {"PhysicalExam", "CVS", " Irregular rhythm", ""},
        {"Diagnosis", "ICD", "Fever", ""},
    };
    CodeTables codes;
    codes.addFinding("SignsSymptoms", "SIGNS", "Fever", {"lib_chief_complaint", "37"});
    codes.addFinding("SignsSymptoms", "SIGNS", "Cough", {"lib_chief_complaint", "9"});
    codes.addFinding("SignsSymptoms", "SIGNS", "Hiccups", {"lib_chief_complaint", "X"});
    codes.addFinding("PhysicalExam", "GU(IE)", "OTHERS", {"lib_genitourinary", "99"});
    codes.addFinding("PhysicalExam", "HEENT", "Essentially normal", {"lib_heent", "11"});
    codes.addFinding("PhysicalExam", "CVS", "Irregular rhythm", {"lib_heart", "7"});
    codes.addFinding("Diagnosis", "ICD", "Fever", {"lib_icd", "R50"});
    const Cf4Form form = compose(source, codes);

    // In PhilHealth's order, "X" last, each once; letter case and trailing blanks
    // do not count, a leading blank does.
    QStringList signs;
    for (const CodedItem& sign : form.signs)
        signs << sign.id;
    EXPECT_EQ(signs, QStringList({"9", "37", "X"}));
    const ExamSystem& gu = form.exam[std::size_t(Library::Genitourinary)];
    ASSERT_EQ(gu.findings.size(), 1);
    EXPECT_EQ(gu.remark, "Not Applicable; No CVA tenderness");
    EXPECT_EQ(form.exam[std::size_t(Library::Heent)].findings.size(), 1);

    // What the tables do not code is kept and named, with the system its
    // sub-area's other records are coded in; a library the program does not
    // know codes nothing.
    ASSERT_EQ(form.uncoded.size(), 3);
    EXPECT_EQ(form.uncoded[0].description, "Anicteric sclerae");
    EXPECT_EQ(form.uncoded[0].system, int(Library::Heent));
    EXPECT_EQ(form.uncoded[1].description, " Irregular rhythm");
    EXPECT_EQ(form.uncoded[2].area, "Diagnosis");
    EXPECT_EQ(form.uncoded[2].system, -1);
}

TEST(Cf4Compose, DrugsGoWithTheirCodeOrTheirDescription)
{
    Cf4Source source = admission();
    source.drugs = {
        {"11/1/2026 10:00:00 AM", "CEFTRIAXONE ", "1 g", "vial", "IV", "7", "1050.5"},
        {"11/2/2026", "Paracetamol", "500 mg", "", "PO", "12.5", "30"},
        {"", "Salbutamol", "", "", "", "", "12.345"},
    };
    CodeTables codes;
    codes.addDrug("Ceftriaxone", "1 g", "VIAL",
                  {"CEFTR0002000644SOL3200000VIALX", {"CEFTR", "00020", "00644", "SOL32", "00000", "VIALX"}});
    const Cf4Form form = compose(source, codes);
    ASSERT_EQ(form.medicines.size(), 3);
    const Medicine& coded = form.medicines[0];
    EXPECT_EQ(coded.drugCode, "CEFTR0002000644SOL3200000VIALX");
    EXPECT_EQ(coded.parts[3], "SOL32");
    EXPECT_EQ(coded.genericName, "");
    EXPECT_EQ(coded.totalPrice, "1050.50");
    EXPECT_EQ(coded.added, QDate(2026, 11, 1));
    EXPECT_EQ(coded.frequency, "-") << "the HIS keeps no frequency";

    const Medicine& described = form.medicines[1];
    EXPECT_EQ(described.drugCode, "");
    EXPECT_EQ(described.genericName, "Paracetamol 500 mg");
    EXPECT_EQ(described.quantity, "12.5");
    EXPECT_EQ(described.totalPrice, "30.00");

    // Nothing is rounded or made up: the check names what is missing or wrong.
    EXPECT_EQ(form.medicines[2].totalPrice, "12.345");
    EXPECT_EQ(form.medicines[2].route, "");
    EXPECT_FALSE(form.medicines[2].added.isValid());
}
