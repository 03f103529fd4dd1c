#pragma once

#include <QMap>
#include <QString>

namespace vantik::test {

/// One cell of a workbook as its sheet XML holds it.
struct XlsxCell {
    QString type;  // "inlineStr", "s", "str", "b" or empty for a number or date
    QString value; // the text, or the number as written
    int style = 0; // index into the cellXfs of styles.xml
};

/// The first sheet of an .xlsx file, read back with unzip: cells by reference
/// ("A1"), the frozen pane, and the number format of each cell style.
struct XlsxSheet {
    QMap<QString, XlsxCell> cells;
    QString frozenTopLeft;        // "A2" when the first row is frozen
    QMap<int, QString> styleFormats; // style index -> number format code ("" for General)
    QMap<int, bool> styleBold;
    QMap<int, double> columnWidths;  // 1-based column -> width in characters

    QString text(const QString& ref) const { return cells.value(ref).value; }
};

/// Empty cells and a failed test when the file cannot be read.
XlsxSheet readXlsx(const QString& path);

/// "A1"-style reference of a 0-based row and column.
QString cellRef(int row, int column);

} // namespace vantik::test
