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
                  {"37 C", nullptr}},
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

TEST(ClaimFormInput, TimesFallBetweenTheAdmissionAndNow)
{
    const QDateTime admitted(QDate(2026, 11, 2), QTime(8, 0));
    const QDateTime now(QDate(2026, 11, 30), QTime(9, 30));
    EXPECT_EQ(checkTakenOn("Taken on", admitted, admitted, now).value, "2026-11-02T08:00:00");
    EXPECT_TRUE(checkTakenOn("Taken on", now, admitted, now).ok());
    const InputCheck before = checkTakenOn("Taken on", admitted.addSecs(-60), admitted, now);
    EXPECT_TRUE(before.message.contains("before the admission (11/02/2026 8:00 AM)")) << before.message.toStdString();
    const InputCheck future = checkTakenOn("Written on", now.addSecs(60), admitted, now);
    EXPECT_TRUE(future.message.startsWith("Written on: ")) << future.message.toStdString();
    EXPECT_TRUE(future.message.contains("future"));
    // An admission whose start is unknown bounds nothing.
    EXPECT_TRUE(checkTakenOn("Taken on", QDateTime(QDate(2020, 1, 1), QTime(0, 0)), QDateTime(), now).ok());
}

TEST(ClaimFormInput, TextsSaySomethingAndTheHistoryNoPlaceholder)
{
    EXPECT_EQ(checkText("Brief history", "  Fever for three days ", true, 0).value, "Fever for three days");
    for (const char* placeholder : {"NA", "n/a", " None ", ""})
        EXPECT_FALSE(checkText("Brief history", placeholder, true, 0).ok()) << placeholder;
    EXPECT_TRUE(checkText("Note", "none", false, 0).ok()); // only the history refuses placeholders
    EXPECT_FALSE(checkText("Note", "   ", false, 0).ok());
    EXPECT_FALSE(checkText("Note", QString("a") + QChar(0) + "b", false, 0).ok());
    EXPECT_TRUE(checkText("Note", "abcde", false, 5).ok());
    EXPECT_TRUE(checkText("Note", "abcdef", false, 5).message.contains("at most 5"));
}

} // namespace
} // namespace vantik
