// PhilHealth's rules for a complete CF4: each case breaks one rule of a CF4
// that passes and expects exactly that refusal, named.

#include "ecf4/cf4_rules.h"
#include "ecf4_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

using namespace vantik::ecf4;
using vantik::test::completeForm;

namespace {

struct Refusal {
    const char* rule;
    std::function<void(Cf4Form&)> breakIt;
    const char* problem; ///< the one problem, in full or its start
};

QString repeated(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

ExamSystem& system(Cf4Form& f, Library library)
{
    return f.exam[std::size_t(library)];
}

const Refusal kRefusals[] = {
    {"facility accreditation number", [](Cf4Form& f) { f.accreditationNo.clear(); },
     "Facility accreditation number: missing"},
    {"accreditation number at most 9", [](Cf4Form& f) { f.accreditationNo = "H910012345"; },
     "Facility accreditation number: too long, 10 characters where PhilHealth takes at most 9"},
    {"certification ID at most 21", [](Cf4Form& f) { f.certificationId = repeated('C', 22); },
     "Facility certification ID: too long"},
    {"user name", [](Cf4Form& f) { f.userName = "  "; }, "Facility user name: missing"},
    {"case number at most 21", [](Cf4Form& f) { f.idNum = repeated('2', 22); }, "IDNum: too long"},
    {"admission date", [](Cf4Form& f) { f.admitted = QDate(); }, "Admission date: missing"},
    {"patient PIN", [](Cf4Form& f) { f.pin.clear(); }, "Patient PIN: missing"},
    {"PIN of 12 digits", [](Cf4Form& f) { f.pin = "15432997824"; }, "Patient PIN: '15432997824' is not 12 digits"},
    {"first name", [](Cf4Form& f) { f.firstName.clear(); }, "Patient first name: missing"},
    {"names count ñ as two", [](Cf4Form& f) { f.lastName = QStringLiteral("Peña") + repeated('a', 26); },
     "Patient last name: too long, 31 characters where PhilHealth takes at most 30 (ñ and other accented letters "
     "count as two)"},
    {"patient type", [](Cf4Form& f) { f.patientType.clear(), f.hisPatientType = "nn"; },
     "Patient type: 'nn' is not a PhilHealth member or dependant"},
    {"sex", [](Cf4Form& f) { f.sex.clear(), f.hisSex = "X"; }, "Sex: 'X' is neither M nor F"},
    {"date of birth", [](Cf4Form& f) { f.birthDate = QDate(); }, "Date of birth: missing"},
    {"chief complaint", [](Cf4Form& f) { f.chiefComplaint = "n/a"; },
     "Chief complaint: 'n/a' is not accepted by PhilHealth (say what was found)"},
    {"chief complaint at most 2000", [](Cf4Form& f) { f.chiefComplaint = repeated('x', 2001); },
     "Chief complaint: too long, 2001 characters where PhilHealth takes at most 2000"},
    {"history of present illness", [](Cf4Form& f) { f.illnessHistory = "none"; },
     "History of present illness: 'none' is not accepted"},
    {"past medical history", [](Cf4Form& f) { f.pastHistory = "Not Applicable"; },
     "Past medical history: 'Not Applicable' is not accepted"},
    {"a control character is refused, never dropped", [](Cf4Form& f) { f.pastHistory = "Asthma\asince 2010"; },
     "Past medical history: holds a control character (code 7) at position 7"},
    {"signs and symptoms", [](Cf4Form& f) { f.signs.clear(); }, "Signs and symptoms: none recorded"},
    {"only active symptoms", [](Cf4Form& f) { f.signs = {{"16", "Flank pain"}}; },
     "Signs and symptoms: 'Flank pain' is coded 16 (FLANK OR LOWER BACK), which PhilHealth no longer accepts"},
    {"only IDs of the list", [](Cf4Form& f) { f.signs = {{"37.0", "Fever"}}; },
     "Signs and symptoms: 'Fever' is coded '37.0', which is not in PhilHealth's list"},
    {"pain needs its site", [](Cf4Form& f) { f.signs.push_back({"38", "Pain"}); },
     "Pain site: missing (PAIN is among the signs and symptoms)"},
    {"others need the complaint", [](Cf4Form& f) { f.signs.push_back({"X", "Hiccups"}); },
     "Other complaint: missing (OTHERS is among the signs and symptoms)"},
    {"general survey", [](Cf4Form& f) { f.genSurveyId.clear(); }, "General survey: missing"},
    {"general survey 1 or 2", [](Cf4Form& f) { f.genSurveyId = "7"; },
     "General survey: '7' is neither 1 (awake and alert) nor 2 (altered sensorium)"},
    {"vital signs", [](Cf4Form& f) { f.vitalsRecorded = false; }, "Vital signs: no record with blood pressure"},
    {"blood pressure", [](Cf4Form& f) { f.systolic.clear(), f.diastolic.clear(), f.bloodPressure = "90/P"; },
     "Blood pressure: '90/P' is not systolic/diastolic in mmHg"},
    {"heart rate without decimals", [](Cf4Form& f) { f.heartRate = "88.5"; },
     "Pulse rate: '88.5' is not a whole number"},
    {"respiratory rate at most 3", [](Cf4Form& f) { f.respiratoryRate = "1000"; }, "Respiratory rate: too long"},
    {"temperature at most 4", [](Cf4Form& f) { f.temperature = "37.55"; }, "Temperature: too long"},
    {"height in centimetres", [](Cf4Form& f) { f.height = "5'7\""; },
     "Height: '5'7\"' is not a number of centimetres"},
    {"weight at most 6", [](Cf4Form& f) { f.weight = "1234567"; }, "Weight: too long"},
    {"height and weight", [](Cf4Form& f) { f.measured = false; }, "Height and weight: no record with both"},
    {"every exam system", [](Cf4Form& f) { system(f, Library::Heent).findings.clear(); },
     "Physical exam, HEENT: no finding recorded"},
    {"only active findings", [](Cf4Form& f) { system(f, Library::Heent).findings = {{"1", "Anicteric sclerae"}}; },
     "Physical exam, HEENT: 'Anicteric sclerae' is coded 1 (Anicteric sclerae), which PhilHealth no longer accepts"},
    {"essentially normal alone",
     [](Cf4Form& f) { system(f, Library::Heart).findings.push_back({"7", "Irregular rhythm"}); },
     "Physical exam, Heart: \"Essentially normal\" is recorded together with other findings"},
    {"others need a remark", [](Cf4Form& f) { system(f, Library::Skin).findings = {{"99", "OTHERS"}}; },
     "Physical exam, Skin/extremities: \"Others\" needs a remark saying what was found"},
    {"the GU marking's remark is refused",
     [](Cf4Form& f) {
         system(f, Library::Genitourinary).findings = {{"99", "OTHERS"}};
         system(f, Library::Genitourinary).remark = "Not Applicable";
     },
     "Physical exam, GU (IE) remark: 'Not Applicable' is not accepted by PhilHealth"},
    {"a finding without a code", [](Cf4Form& f) { f.uncoded.push_back({"PhysicalExam", "CVS", "Gallop", -1}); },
     "Physical exam, CVS, 'Gallop': no PhilHealth code yet"},
    {"menstrual history applicability", [](Cf4Form& f) { f.mensApplicable.clear(); },
     "Menstrual history: not stated whether it applies"},
    {"last menstrual period when it applies", [](Cf4Form& f) { f.lastPeriod = QDate(); },
     "Last menstrual period: missing"},
    {"pregnancy counts 0 to 99", [](Cf4Form& f) { f.pregnancyCounts[0] = "120"; },
     "Pregnancies (gravidity): '120' is not a number from 0 to 99"},
    {"course in the ward", [](Cf4Form& f) { f.courseNotes.clear(); }, "Course in the ward: no note"},
    {"a note's date", [](Cf4Form& f) { f.courseNotes[1].date = QDate(); }, "Course in the ward, note 2, date: missing"},
    {"a note at most 2000", [](Cf4Form& f) { f.courseNotes[0].action = repeated('n', 2001); },
     "Course in the ward, note of 11/01/2026: too long"},
    {"a drug's route", [](Cf4Form& f) { f.medicines[0].route.clear(); },
     "Medicine 'Ceftriaxone 1 g VIAL', route: missing"},
    {"a drug's quantity", [](Cf4Form& f) { f.medicines[0].quantity = "seven"; },
     "Medicine 'Ceftriaxone 1 g VIAL', quantity: 'seven' is not a number"},
    {"a drug's total price", [](Cf4Form& f) { f.medicines[0].totalPrice = "1050.125"; },
     "Medicine 'Ceftriaxone 1 g VIAL', total price: '1050.125' is not an amount in pesos"},
    {"a drug's date", [](Cf4Form& f) { f.medicines[0].added = QDate(); },
     "Medicine 'Ceftriaxone 1 g VIAL', order date: missing"},
    {"a drug code at most 30", [](Cf4Form& f) { f.medicines[0].drugCode += "X"; },
     "Medicine 'Ceftriaxone 1 g VIAL', drug code: too long"},
    {"a drug code's parts", [](Cf4Form& f) { f.medicines[0].parts[3].clear(); },
     "Medicine 'Ceftriaxone 1 g VIAL', drug code part: missing"},
};

// Names the case in the test's output, instead of its bytes.
void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.rule;
}

class Refusals : public ::testing::TestWithParam<Refusal> {};

} // namespace

TEST(Cf4Rules, TheCompleteFormPasses)
{
    const Findings findings = checkForm(completeForm());
    EXPECT_TRUE(findings.problems.isEmpty()) << findings.problems.join('\n').toStdString();
    EXPECT_TRUE(findings.warnings.isEmpty()) << findings.warnings.join('\n').toStdString();
}

TEST_P(Refusals, OneBrokenRuleIsOneNamedProblem)
{
    Cf4Form form = completeForm();
    GetParam().breakIt(form);
    const Findings findings = checkForm(form);
    ASSERT_EQ(findings.problems.size(), 1) << findings.problems.join('\n').toStdString();
    EXPECT_TRUE(findings.problems[0].startsWith(QString::fromUtf8(GetParam().problem)))
        << findings.problems[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cf4Rules, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<Refusal>& info) {
                             std::string name;
                             for (const char* c = info.param.rule; *c; ++c) {
                                 if (std::isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             }
                             return name;
                         });

TEST(Cf4Rules, ADrugWithoutCodeIsAWarningNotARefusal)
{
    Cf4Form form = completeForm();
    Medicine& drug = form.medicines[0];
    drug.drugCode.clear();
    drug.parts = {};
    drug.genericName = drug.hisName;
    form.medicines.push_back(drug); // a second record of it says nothing more
    const Findings findings = checkForm(form);
    EXPECT_TRUE(findings.problems.isEmpty()) << findings.problems.join('\n').toStdString();
    EXPECT_EQ(findings.warnings,
              QStringList{"Medicine 'Ceftriaxone 1 g VIAL': no PhilHealth drug code, sent with its description"});
}

TEST(Cf4Rules, WhatDoesNotApplyIsNotAsked)
{
    Cf4Form form = completeForm();
    form.mensApplicable = "N";
    form.lastPeriod = QDate();
    form.pregnancyCounts = {};
    form.painSite = "Right lower quadrant"; // a site without PAIN is no fault
    form.medicines.clear();                 // the no-medicine record goes instead
    form.exam[std::size_t(Library::Chest)].findings = {{"4", "Rales"}, {"5", "Wheezes"}};
    form.exam[std::size_t(Library::Skin)].findings = {{"99", "OTHERS"}, {"5", "Edema"}};
    form.exam[std::size_t(Library::Skin)].remark = "Healed surgical scar";
    form.systolic = form.diastolic = "1"; // BP not available
    const Findings findings = checkForm(form);
    EXPECT_TRUE(findings.problems.isEmpty()) << findings.problems.join('\n').toStdString();
}

TEST(Cf4Rules, ForbiddenCharactersAreThoseXmlCannotCarry)
{
    EXPECT_EQ(forbiddenCharacterAt(QStringLiteral("Line\nbreak\ttab\rreturn ñ & <>")), -1);
    EXPECT_EQ(forbiddenCharacterAt(QStringLiteral("a\x0b")), 1);
    EXPECT_EQ(forbiddenCharacterAt(QString(QChar(0xFFFE))), 0);
    EXPECT_EQ(forbiddenCharacterAt(QString(QChar(0xD800)) + QLatin1Char('a')), 0);
    EXPECT_EQ(forbiddenCharacterAt(QString::fromUtf8("\xF0\x9F\x98\x80")), -1); // a pair is one character
}

TEST(Cf4Rules, ADrugCodeTypedByAClerkHasPhilHealthsShape)
{
    const std::array<QString, 6> parts = {"CEFTR", "00020", "00644", "SOL32", "00000", "VIALX"};
    EXPECT_EQ(drugCodeShapeProblem("CEFTR0002000644SOL3200000VIALX", parts), "");
    EXPECT_TRUE(drugCodeShapeProblem("CEFTR0002000644SOL3200000VIAL", parts).contains("has 29"));
    EXPECT_TRUE(drugCodeShapeProblem("CEFTR0002000644SOL3200000VIAL ", parts).startsWith("The drug code must be"));
    auto shortPart = parts;
    shortPart[4] = "0000";
    EXPECT_EQ(drugCodeShapeProblem("CEFTR0002000644SOL3200000VIALX", shortPart),
              "The unit code must be 5 letters and digits; '0000' is not.");
}
