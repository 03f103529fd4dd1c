#include "host/ui/message_box.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace vantik {
namespace {

// Where the text of a message box would break at the given width.
QStringList linesAt(const QString& text, qreal width)
{
    QTextLayout layout(text, QFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

TEST(MessageBoxText, DateFormsAndSlashedWordsAreNeverBrokenAcrossLines)
{
    const QString message = QStringLiteral("The end date \"13/45/2026\" is not a date; type it as mm/dd/yyyy.");
    const QString kept = withUnbrokenTokens(message);
    QString shown = kept;
    shown.remove(QChar(0x2060));
    EXPECT_EQ(shown, message); // nothing but invisible joiners added
    // Every width from narrow to wide: the tokens stay on one line.
    const QFontMetricsF metrics{QFont()};
    for (qreal width = metrics.horizontalAdvance("mm/dd/yyyy.") + 2; width < metrics.horizontalAdvance(message);
         width += 3) {
        QString joined;
        for (QString line : linesAt(kept, width)) {
            line.remove(QChar(0x2060));
            EXPECT_FALSE(line.trimmed().endsWith('/')) << line.toStdString() << " at " << width;
            joined += line;
        }
        EXPECT_EQ(joined, message);
    }
    EXPECT_EQ(withUnbrokenTokens("a / b"), "a / b");
}

} // namespace
} // namespace vantik
