#include "support/xlsx_sheet.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace vantik::test {

namespace {

QByteArray unzipped(const QString& path, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, member});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    EXPECT_EQ(unzip.exitCode(), 0) << member.toStdString() << ": " << unzip.readAllStandardError().toStdString();
    return unzip.readAllStandardOutput();
}

// Built-in number formats a sheet may refer to without declaring them.
QString builtinFormat(int id)
{
    switch (id) {
    case 0: return QString();
    case 49: return QStringLiteral("@");
    case 14: return QStringLiteral("mm-dd-yy");
    default: return QStringLiteral("builtin %1").arg(id);
    }
}

void readStyles(const QByteArray& xml, XlsxSheet& sheet)
{
    QMap<int, QString> formats;
    QList<bool> fontsBold;
    QXmlStreamReader reader(xml);
    bool inFonts = false;
    bool inCellXfs = false;
    int xf = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        const auto name = reader.name();
        if (reader.isStartElement()) {
            if (name == QLatin1String("numFmt")) {
                formats.insert(reader.attributes().value("numFmtId").toInt(),
                               reader.attributes().value("formatCode").toString());
            } else if (name == QLatin1String("fonts")) {
                inFonts = true;
            } else if (inFonts && name == QLatin1String("font")) {
                fontsBold.append(false);
            } else if (inFonts && name == QLatin1String("b")) {
                fontsBold.last() = true;
            } else if (name == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && name == QLatin1String("xf")) {
                const int format = reader.attributes().value("numFmtId").toInt();
                sheet.styleFormats.insert(xf, formats.contains(format) ? formats.value(format) : builtinFormat(format));
                sheet.styleBold.insert(xf, fontsBold.value(reader.attributes().value("fontId").toInt()));
                ++xf;
            }
        } else if (reader.isEndElement()) {
            if (name == QLatin1String("fonts"))
                inFonts = false;
            else if (name == QLatin1String("cellXfs"))
                inCellXfs = false;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
}

QStringList readSharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si"))
            strings.append(QString());
        else if (reader.isStartElement() && reader.name() == QLatin1String("t"))
            strings.last() += reader.readElementText();
    }
    return strings;
}

/// A sheet writes control characters as "_xHHHH_".
QString unescaped(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString plain;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        plain += text.mid(from, match.capturedStart() - from);
        plain += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        from = match.capturedEnd();
    }
    return plain + text.mid(from);
}

} // namespace

QString cellRef(int row, int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

XlsxSheet readXlsx(const QString& path)
{
    XlsxSheet sheet;
    readStyles(unzipped(path, QStringLiteral("xl/styles.xml")), sheet);
    QStringList shared;
    {
        QProcess list;
        list.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), path});
        list.waitForFinished(30000);
        if (QString::fromUtf8(list.readAllStandardOutput()).contains(QLatin1String("xl/sharedStrings.xml")))
            shared = readSharedStrings(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
    }
    QXmlStreamReader reader(unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString ref;
    XlsxCell cell;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            const QXmlStreamAttributes attributes = reader.attributes();
            if (name == QLatin1String("pane") && attributes.value("state") == QLatin1String("frozen")) {
                sheet.frozenTopLeft = attributes.value("topLeftCell").toString();
            } else if (name == QLatin1String("col")) {
                for (int c = attributes.value("min").toInt(); c <= attributes.value("max").toInt(); ++c)
                    sheet.columnWidths.insert(c, attributes.value("width").toDouble());
            } else if (name == QLatin1String("c")) {
                ref = attributes.value("r").toString();
                cell = XlsxCell{attributes.value("t").toString(), QString(), attributes.value("s").toInt()};
            } else if (name == QLatin1String("v") || name == QLatin1String("t")) {
                cell.value += reader.readElementText();
                if (cell.type == QLatin1String("s"))
                    cell.value = shared.value(cell.value.toInt());
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("c")) {
            cell.value = unescaped(cell.value);
            sheet.cells.insert(ref, cell);
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return sheet;
}

} // namespace vantik::test
