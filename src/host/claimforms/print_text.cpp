#include "host/claimforms/print_text.h"

#include <QApplication>
#include <QFontDatabase>

namespace vantik {

namespace {

constexpr char16_t kCached = 0x3000;
const QString kEllipsis = QStringLiteral("\u2026");

bool holdsSurrogates(QStringView text)
{
    for (const QChar character : text) {
        if (character.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

QFont printFont(double pointSize, bool bold)
{
    // Condensed letters put more columns on a page and read as well on paper.
    static const QString family = [] {
        const QString condensed = QStringLiteral("DejaVu Sans Condensed");
        return QFontDatabase::hasFamily(condensed) ? condensed : QApplication::font().family();
    }();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setKerning(false);
    return font;
}

QString oneLine(QString text)
{
    for (QChar& character : text) {
        if (character.unicode() < 0x20)
            character = QLatin1Char(' ');
    }
    return text;
}

TextWidths::TextWidths(const QFont& font, const QPaintDevice* device)
    : m_font(font)
    , m_metrics(font, device)
    , m_advances(kCached, -1.0)
{
}

double TextWidths::advance(char16_t character) const
{
    if (character >= kCached)
        return m_metrics.horizontalAdvance(QChar(character));
    double& known = m_advances[character];
    if (known < 0)
        known = m_metrics.horizontalAdvance(QChar(character));
    return known;
}

double TextWidths::width(QStringView text) const
{
    if (holdsSurrogates(text))
        return m_metrics.horizontalAdvance(text.toString());
    double total = 0;
    for (const QChar character : text)
        total += advance(character.unicode());
    return total;
}

QString TextWidths::elide(const QString& text, double room) const
{
    if (width(text) <= room)
        return text;
    const double ellipsis = width(kEllipsis);
    QString kept = text;
    double keptWidth = width(kept);
    while (!kept.isEmpty() && keptWidth + ellipsis > room) {
        keptWidth -= advance(kept.back().unicode());
        kept.chop(1);
    }
    return kept.isEmpty() ? QString() : kept.trimmed() + kEllipsis;
}

QStringList TextWidths::wrap(const QString& text, double room, int maxLines) const
{
    QStringList lines;
    if (text.isEmpty() || width(text) <= room)
        return {oneLine(text)};

    const double blank = advance(u' ');
    bool cut = false;
    const QStringList paragraphs = QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        QString line;
        double lineWidth = 0;
        for (const QString& word : oneLine(paragraph).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const double wordWidth = width(word);
            if (!line.isEmpty() && lineWidth + blank + wordWidth <= room) {
                line += QLatin1Char(' ') + word;
                lineWidth += blank + wordWidth;
                continue;
            }
            if (!line.isEmpty())
                lines.append(line);
            line = word;
            lineWidth = wordWidth;
            // A word wider than a line is broken where the line is full.
            while (lineWidth > room && line.size() > 1) {
                int fits = 0;
                double used = 0;
                while (fits < line.size() && used + advance(line[fits].unicode()) <= room)
                    used += advance(line[fits++].unicode());
                fits = std::max(fits, 1);
                lines.append(line.left(fits));
                line = line.mid(fits);
                lineWidth = width(line);
            }
        }
        lines.append(line);
        if (lines.size() > maxLines) {
            cut = true;
            break;
        }
    }
    if (lines.size() > maxLines) {
        cut = true;
        lines = lines.mid(0, maxLines);
    }
    if (cut && !lines.isEmpty()) {
        QString& last = lines.last();
        const double ellipsis = width(kEllipsis);
        double lastWidth = width(last);
        while (!last.isEmpty() && lastWidth + ellipsis > room) {
            lastWidth -= advance(last.back().unicode());
            last.chop(1);
        }
        last = last.trimmed() + kEllipsis;
    }
    return lines;
}

} // namespace vantik
