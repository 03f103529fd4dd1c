#pragma once

#include <QString>

#include <array>
#include <vector>

namespace vantik::batchupdate {

/// The fields of a drug record, by position in the drug query and in the drug grid.
enum DrugColumn {
    IDNum = 0,
    GenericName = 1,
    Quantity = 2,
    Dosage = 3,
    Route = 4,
    UnitCode = 5,
    TotalAmount = 6,
};
inline constexpr int kDrugColumnCount = 7;

/// The four fields a Find and a Replace box stand for: box j is column j + kFirstBoxColumn.
inline constexpr int kBoxCount = 4;
inline constexpr int kFirstBoxColumn = Quantity;

/// The titles of the drug grid's header row, column 0 to 6.
const std::array<QString, kDrugColumnCount>& drugColumnTitles();

/// The drugs of one admission. The ID goes in quoted, so that an apostrophe in
/// it stays part of the ID instead of ending the literal.
QString drugQuery(const QString& patientId);

/// The text of the instructions box, each line ended by CR LF.
QString batchUpdateInstructions();

/// A drug record as listed: the texts of its seven fields.
struct DrugRecordTexts {
    std::array<QString, kDrugColumnCount> fields;

    const QString& box(int j) const { return fields[std::size_t(kFirstBoxColumn + j)]; }
};

using BoxTexts = std::array<QString, kBoxCount>;

/// One field the find-and-replace step changes: the box (0 Quantity .. 3 UnitCode),
/// the text it gets and the line that reports it.
struct DrugFieldChange {
    int box = 0;
    QString text;
    QString line;
};

/// The find-and-replace step for one record of the chosen drug. The record
/// matches when at least one Find box holds text and every Find box holding
/// text equals its field. Of a matching record, a field changes when it equals
/// its Find box (an empty box equals only an empty field) and the Find box
/// differs from its Replace box. Changes come in box order, Quantity first;
/// none when the record does not match. Texts are compared exactly.
std::vector<DrugFieldChange> findAndReplace(const DrugRecordTexts& record, const BoxTexts& find,
                                            const BoxTexts& replace);

/// Why the boxes must not start a run, for the clerk; empty when they may. A
/// quantity is never set below zero: a Replace Qty that is a negative number is
/// refused whenever it would be written (it differs from its Find box).
QString replaceRefusal(const BoxTexts& find, const BoxTexts& replace);

} // namespace vantik::batchupdate
