#include "batchupdate/drug_update.h"
#include "support/qt_printers.h"

#include <QStringList>

#include <gmock/gmock.h>

namespace vantik::batchupdate {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

DrugRecordTexts record(const QString& quantity, const QString& dosage, const QString& route, const QString& unit)
{
    return {{"2400001", "Paracetamol", quantity, dosage, route, unit, "55.5"}};
}

QStringList lines(const std::vector<DrugFieldChange>& changes)
{
    QStringList out;
    for (const DrugFieldChange& change : changes)
        out.append(change.line);
    return out;
}

TEST(FindAndReplace, ChangesOnlyRecordsWhoseFilledFindBoxesAllMatchExactly)
{
    const DrugRecordTexts drug = record("10", "500mg", "Oral", "TAB");
    // No Find box filled: nothing matches, whatever is to replace.
    EXPECT_THAT(findAndReplace(drug, {}, {"1", "1g", "IV", "BOT"}), IsEmpty());
    // The boxes as a click on the row leaves them.
    EXPECT_THAT(findAndReplace(drug, {"10", "500mg", "Oral", "TAB"}, {"10", "500mg", "Oral", "TAB"}), IsEmpty());
    // One differing Find box keeps the whole record, the matching fields too.
    EXPECT_THAT(findAndReplace(drug, {"10", "250mg", "Oral", ""}, {"20", "1g", "IV", ""}), IsEmpty());
    // Case and blanks count.
    EXPECT_THAT(findAndReplace(drug, {"", "500MG", "", ""}, {"", "1g", "", ""}), IsEmpty());
    EXPECT_THAT(findAndReplace(drug, {"", "500mg ", "", ""}, {"", "1g", "", ""}), IsEmpty());

    const auto changes = findAndReplace(drug, {"", "500mg", "", ""}, {"", "1g", "", ""});
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].box, 1);
    EXPECT_EQ(changes[0].text, "1g");
    EXPECT_EQ(changes[0].line, "2400001 Paracetamol  from:500mg to:1g");
}

TEST(FindAndReplace, EmptyFindBoxFillsOnlyEmptyFieldsAndEmptyReplaceEmptiesTheField)
{
    const BoxTexts find{"", "500mg", "", ""};
    const BoxTexts replace{"", "500mg", "Oral", ""};
    EXPECT_THAT(findAndReplace(record("10", "500mg", "IV", "TAB"), find, replace), IsEmpty());
    const auto filled = findAndReplace(record("10", "500mg", "", "TAB"), find, replace);
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0].box, 2);
    EXPECT_EQ(filled[0].line, "2400001 Paracetamol  from: to:Oral");

    // Two fields of one record: two lines, Quantity first; an emptied field ends its line with " to:".
    const auto two = findAndReplace(record("10", "500mg", "Oral", "tab"), {"10", "", "", "tab"}, {"20", "", "", ""});
    EXPECT_THAT(lines(two), ElementsAre("2400001 Paracetamol  from:10 to:20", "2400001 Paracetamol  from:tab to:"));
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].box, 0);
    EXPECT_EQ(two[1].box, 3);
    EXPECT_EQ(two[1].text, "");
}

TEST(ReplaceRefusal, RefusesANegativeQuantityOnlyWhereItWouldBeWritten)
{
    struct Case {
        QString find;
        QString replace;
        bool refused;
    };
    const Case cases[] = {
        {"10", "-1", true},   {"", "-0.5", true},  {"10", " -2 ", true}, {"10", "0", false},
        {"10", "-0", false},  {"10", "1", false},  {"10", "", false},    {"-1", "-1", false},
        {"10", "-x", false}, // not a number: the column refuses it, naming the field
    };
    for (const Case& c : cases) {
        const QString refusal = replaceRefusal({c.find, "", "", ""}, {c.replace, "", "", ""});
        EXPECT_EQ(!refusal.isEmpty(), c.refused) << c.find.toStdString() << " -> " << c.replace.toStdString();
    }
    EXPECT_EQ(replaceRefusal({"10", "", "", ""}, {"-1", "", "", ""}),
              "A quantity cannot be negative: \"Repalce with\" Qty holds -1. Nothing was changed.");
    // Only the quantity has a sign to check.
    EXPECT_TRUE(replaceRefusal({"", "5", "", ""}, {"", "-5", "", ""}).isEmpty());
}

TEST(DrugQuery, KeepsAnApostropheInsideTheIdLiteral)
{
    EXPECT_EQ(drugQuery("O'B12"),
              "select IDNum,GenericName,Quantity,Dosage,Route,UnitCode,TotalAmount from PATIENT_DATA..tbPatientMedicine "
              "WITH (NOLOCK)  WHERE IDNUM='O''B12'");
}

} // namespace
} // namespace vantik::batchupdate
