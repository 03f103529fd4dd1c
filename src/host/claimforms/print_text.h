#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <vector>

class QPaintDevice;

namespace vantik {

/// Widths of texts in one print font on one device, fast enough to measure
/// every cell of a year's list: the advances of the characters, each looked up
/// once. Kerning is off in the fonts it is made for, so what it measures is
/// what the painter draws.
class TextWidths {
public:
    TextWidths(const QFont& font, const QPaintDevice* device);

    double width(QStringView text) const;
    const QFont& font() const { return m_font; }
    const QFontMetricsF& metrics() const { return m_metrics; }

    /// The text broken into lines of at most room wide: at blanks where it can,
    /// inside a word too long for a line, and at its own line breaks. Past
    /// maxLines the last line ends in "…". At least one line, empty for an
    /// empty text.
    QStringList wrap(const QString& text, double room, int maxLines) const;
    /// The text on one line, cut to room with "…" when it is wider.
    QString elide(const QString& text, double room) const;

private:
    double advance(char16_t character) const;

    QFont m_font;
    QFontMetricsF m_metrics;
    mutable std::vector<double> m_advances; // by character below kCached; negative until measured
};

/// A print font: the family the tables print in, at the size, kerning off.
QFont printFont(double pointSize, bool bold);

/// The text with control characters (tabs, line breaks) as blanks.
QString oneLine(QString text);

} // namespace vantik
