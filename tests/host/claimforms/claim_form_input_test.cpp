#include "host/claimforms/claim_form_input.h"

#include <gtest/gtest.h>

namespace vantik {
namespace {

struct Case {
    const char* typed;
    const char* stored; // nullptr: refused
};

void expectChecks(InputCheck (*check)(const QString&), std::initializer_list<Case> cases, const char* field)
{
    for (const Case& c : cases) {
        const InputCheck result = check(QString::fromUtf8(c.typed));
        if (c.stored) {
            EXPECT_TRUE(result.ok()) << c.typed << ": " << result.message.toStdString();
            EXPECT_EQ(result.value, QString::fromUtf8(c.stored)) << c.typed;
        } else {
            EXPECT_FALSE(result.ok()) << c.typed << " was accepted";
            // The message names the field and says what it takes.
            EXPECT_TRUE(result.message.startsWith(QString::fromUtf8(field))) << result.message.toStdString();
        }
    }
}

TEST(ClaimFormInput, BloodPressureIsSystolicOverDiastolicWithinTheirBounds)
{
    expectChecks(checkBloodPressure,
                 {{"120/80", "120/80"},
                  {" 120 / 80 ", "120/80"},
                  {"40/10", "40/10"},
                  {"300/200", "300/200"},
                  {"39/10", nullptr},
                  {"301/90", nullptr},
                  {"120/9", nullptr},
                  {"250/201", nullptr},
                  {"80/80", nullptr},  // the systolic must be the higher
                  {"80/120", nullptr},
                  {"120", nullptr},
                  {"120/80/60", nullptr},
                  {"120-80", nullptr},
                  {"", nullptr},
                  {"12a/80", nullptr}},
                 "Blood pressure");
}

TEST(ClaimFormInput, MeasuresArePlainNumbersWithinTheirBounds)
{
    expectChecks(checkTemperature,
                 {{"30", "30"}, {"45", "45"}, {"37.2", "37.2"}, {"29.9", nullptr}, {"45.1", nullptr},
                  {"37.25", nullptr}, {"37,2", nullptr}, {"-37", nullptr}, {"3e1", nullptr}, {"nan", nullptr},
                  {"37 C", nullptr}, {".", nullptr}, {"37..2", nullptr}},
                 "Temperature");
    expectChecks(checkPulseRate, {{"20", "20"}, {"250", "250"}, {"19", nullptr}, {"251", nullptr}, {"80.5", nullptr}},
                 "Pulse");
    expectChecks(checkRespiratoryRate, {{"5", "5"}, {"80", "80"}, {"4", nullptr}, {"81", nullptr}},
                 "Respiratory rate");
    expectChecks(checkHeight, {{"20", "20"}, {"250", "250"}, {"162.5", "162.5"}, {"19.9", nullptr}, {"250.1", nullptr},
                               {"inf", nullptr}},
                 "Height (cm)");
    expectChecks(checkWeight, {{"0.3", "0.3"}, {"350", "350"}, {"58.45", "58.45"}, {"0.29", nullptr},
                               {"350.01", nullptr}, {"58.455", nullptr}, {"", nullptr}},
                 "Weight (kg)");
}

// What is stored is the number, not the way it was typed: the same value typed
// in a longer form is stored alike, and is not refused for its length.
TEST(ClaimFormInput, MeasuresAreStoredInTheirCanonicalForm)
{
    expectChecks(checkPulseRate, {{"00072", "72"}, {"72.", "72"}, {"72.000", "72"}, {"0000000000072", "72"}},
                 "Pulse");
    expectChecks(checkTemperature, {{"037.2", "37.2"}, {"37.20", "37.2"}, {"37.0", "37"}, {"037.", "37"}},
                 "Temperature");
    expectChecks(checkWeight, {{"058.40", "58.4"}, {".5", "0.5"}, {"0.30", "0.3"}, {"000350.000", "350"}},
                 "Weight (kg)");
    expectChecks(checkHeight, {{"0162.50", "162.5"}}, "Height (cm)");
    expectChecks(checkRespiratoryRate, {{"018", "18"}}, "Respiratory rate");
    expectChecks(checkBloodPressure, {{"0120/080", "120/80"}, {"99999999999/80", nullptr}}, "Blood pressure");
}

TEST(ClaimFormInput, TimesFallBetweenTheAdmissionAndTheDischargeOrNow)
{
    const QDateTime admitted(QDate(2026, 11, 2), QTime(8, 0));
    const QDateTime discharged(QDate(2026, 11, 5), QTime(10, 0));
    const QDateTime now(QDate(2026, 11, 30), QTime(9, 30));
    const QDateTime none;
    EXPECT_EQ(checkTakenOn("Taken on", admitted, admitted, discharged, now).value, "2026-11-02T08:00:00");
    EXPECT_TRUE(checkTakenOn("Taken on", discharged, admitted, discharged, now).ok());
    EXPECT_TRUE(checkTakenOn("Taken on", now, admitted, none, now).ok()); // still admitted
    const InputCheck before = checkTakenOn("Taken on", admitted.addSecs(-60), admitted, discharged, now);
    EXPECT_TRUE(before.message.contains("before the admission (11/02/2026 8:00 AM)")) << before.message.toStdString();
    // From minutes to months after the discharge: refused, naming the discharge.
    for (const QDateTime& after : {discharged.addSecs(27 * 60), discharged.addMonths(11).addDays(-30)}) {
        const InputCheck late = checkTakenOn("Written on", after, admitted, discharged, now.addYears(1));
        EXPECT_EQ(late.message, "Written on: the date and time cannot be after the discharge (11/05/2026 10:00 AM).");
    }
    const InputCheck future = checkTakenOn("Written on", now.addSecs(60), admitted, none, now);
    EXPECT_TRUE(future.message.startsWith("Written on: ")) << future.message.toStdString();
    EXPECT_TRUE(future.message.contains("future"));
    // An admission whose start is unknown bounds nothing.
    EXPECT_TRUE(checkTakenOn("Taken on", QDateTime(QDate(2020, 1, 1), QTime(0, 0)), none, none, now).ok());
}

TEST(ClaimFormInput, TextsSaySomethingAndTheHistoryNoPlaceholder)
{
    EXPECT_EQ(checkText("Brief history", "  Fever for three days ", true, 0).value, "Fever for three days");
    for (const char* placeholder : {"NA", "n/a", " None ", ""})
        EXPECT_FALSE(checkText("Brief history", placeholder, true, 0).ok()) << placeholder;
    EXPECT_TRUE(checkText("Note", "none", false, 0).ok()); // only the history refuses placeholders
    EXPECT_FALSE(checkText("Note", "   ", false, 0).ok());
    EXPECT_FALSE(checkText("Note", QString("a") + QChar(0) + "b", false, 0).ok());
}

TEST(ClaimFormInput, ATextLongerThanItsColumnIsRefusedNamingTheField)
{
    EXPECT_EQ(checkText("Brief history", QString(612, 'a'), true, 500).message,
              "Brief history: 612 characters; at most 500.");
    // The stored (trimmed) text counts, and exactly the limit fits.
    EXPECT_EQ(checkText("Note", "  " + QString(500, 'a') + "  ", false, 500).value, QString(500, 'a'));
    EXPECT_TRUE(checkText("Note", QString(5000, 'a'), false, 0).ok()); // no limit known
    EXPECT_EQ(checkLength("Pulse", "12345678901", 10).message, "Pulse: 11 characters; at most 10.");
}

} // namespace
} // namespace vantik
