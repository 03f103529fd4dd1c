#include "host/ui/paced_log.h"

#include "host/ui/repaint_pacer.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace vantik {

namespace {

const QString kPendingName = QStringLiteral("vantikPendingLines");

/// The lines of one log box that wait for the next frame, on one side of it.
class PendingLines : public QObject {
public:
    enum class Side { Top, Bottom };

    explicit PendingLines(QPlainTextEdit& log)
        : QObject(&log)
        , m_log(log)
    {
        setObjectName(kPendingName);
        RepaintPacer::instance().addFrameHook(this, [this] { flush(); });
        // The box emptied while lines waited: they would have gone with the rest.
        connect(&log, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_writing && !m_lines.isEmpty() && m_log.document()->isEmpty())
                m_lines.clear();
        });
    }

    void add(Side side, const QString& line)
    {
        if (side != m_side)
            flush();
        m_side = side;
        m_lines.append(line);
        RepaintPacer::instance().notePending();
    }

    void flush()
    {
        if (m_lines.isEmpty())
            return;
        const QStringList lines = std::exchange(m_lines, {});
        m_writing = true;
        if (m_side == Side::Top)
            writeTop(m_log, lines);
        else
            writeBottom(m_log, lines);
        m_writing = false;
    }

    static void writeTop(QPlainTextEdit& log, const QStringList& lines)
    {
        // The newest line first, each ended by a line break, above the old text.
        QString text;
        for (auto line = lines.crbegin(); line != lines.crend(); ++line)
            text += *line + QLatin1Char('\n');
        // Inserting at the start keeps a long log cheap: the rest is not laid out again.
        // In an edit block the cursor does not lay its line out just to learn where it is.
        QTextCursor start(log.document());
        start.beginEditBlock();
        start.insertText(text);
        start.endEditBlock();
        // The newest line is the one to see. Scrolling is enough: moving the caret there
        // too would lay the text out again.
        log.verticalScrollBar()->setValue(0);
    }

    static void writeBottom(QPlainTextEdit& log, QStringList lines)
    {
        // The box would drop the older lines again at once.
        const int keep = log.maximumBlockCount();
        if (keep > 0 && lines.size() > keep)
            lines = lines.mid(lines.size() - keep);
        if (keep > 0)
            dropOldest(log, keep - int(lines.size()));
        log.appendPlainText(lines.join(QLatin1Char('\n')));
    }

    /// Leaves at most `room` lines in a box that is full. The box drops its oldest
    /// lines itself once it holds too many, but lays each of them out on the way,
    /// which in a full log costs more than writing the new ones.
    static void dropOldest(QPlainTextEdit& log, int room)
    {
        QTextDocument& document = *log.document();
        if (document.isEmpty())
            return;
        const int excess = document.blockCount() - room;
        if (excess <= 0)
            return;
        if (excess >= document.blockCount()) {
            log.clear();
            return;
        }
        // In an edit block the cursor does not lay out the lines it passes.
        QTextCursor cursor(&document);
        cursor.beginEditBlock();
        cursor.setPosition(document.findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.endEditBlock();
    }

private:
    QPlainTextEdit& m_log;
    QStringList m_lines;
    Side m_side = Side::Top;
    bool m_writing = false;
};

PendingLines* pendingOf(QPlainTextEdit& log, bool make)
{
    // Ours is the only child of that name.
    auto* pending = static_cast<PendingLines*>(log.findChild<QObject*>(kPendingName, Qt::FindDirectChildrenOnly));
    if (!pending && make)
        pending = new PendingLines(log);
    return pending;
}

void addLine(QPlainTextEdit& log, PendingLines::Side side, const QString& line)
{
    if (RepaintPacer::instance().batching()) {
        pendingOf(log, true)->add(side, line);
        return;
    }
    flushPacedLines(log);
    if (side == PendingLines::Side::Top)
        PendingLines::writeTop(log, {line});
    else
        PendingLines::writeBottom(log, {line});
}

} // namespace

void pacedPrepend(QPlainTextEdit& log, const QString& line)
{
    addLine(log, PendingLines::Side::Top, line);
}

void pacedAppend(QPlainTextEdit& log, const QString& line)
{
    addLine(log, PendingLines::Side::Bottom, line);
}

void flushPacedLines(QPlainTextEdit& log)
{
    if (PendingLines* pending = pendingOf(log, false))
        pending->flush();
}

} // namespace vantik
