#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <vector>

namespace vantik {

/// Paces what the windows show while an operation works through the list on the
/// user-interface thread. A pass that yields at every row would otherwise repaint
/// at every row, which on a real display costs many times the row's own work.
///
/// While a batch runs (a BatchScope lives), the yield still handles every pending
/// input and timer event, but the windows' repaint requests wait for the next
/// frame. A frame comes once the first change since the last frame is a frame
/// interval old (at most 25 a second), and at once when the last batch ends.
/// Writers that would lay their window out once per row (the logs, the grid's
/// scrolling to its current row) hand their changes to a frame hook instead; the
/// hooks run before every frame, so each frame shows the latest state and the
/// last one the final state, nothing skipped.
class RepaintPacer final : public QObject {
public:
    static constexpr int kFrameMs = 40;

    /// The application's pacer: made on first use, gone with the application.
    static RepaintPacer& instance();

    /// True while a batch runs: writers may leave their changes to the next frame.
    bool batching() const { return m_batches > 0; }

    /// The yield of an operation: processes the pending events once. During a
    /// batch the repaints they ask for wait for the next frame.
    void processEvents();
    /// For passes that do not yield: something changed, and a frame is shown when
    /// one is due. Nothing but the painting happens: no input is handled.
    void paintIfDue();
    /// Something waits for the next frame: it comes within the frame interval.
    void notePending();
    /// Runs the frame hooks now, so that the windows hold the latest state; the
    /// painting follows when events are next handled.
    void settle();
    /// Work to do before every frame, for as long as owner lives.
    void addFrameHook(QObject* owner, std::function<void()> hook);

    /// Tests make frames rare, so that a whole run falls between two of them.
    void setFrameInterval(int milliseconds);
    /// Frames shown, and repaint requests held back for a frame, since the start.
    int framesShown() const { return m_frames; }
    int repaintsHeld() const { return m_repaintsHeld; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class BatchScope;
    explicit RepaintPacer(QObject* parent);
    void beginBatch() { ++m_batches; }
    void endBatch();
    bool frameDue() const { return m_pendingSince.isValid() && m_pendingSince.elapsed() >= m_frameMs; }
    void frame();
    void runHooks();

    struct Hook {
        QPointer<QObject> owner;
        std::function<void()> run;
    };

    int m_frameMs = kFrameMs;
    int m_batches = 0;
    int m_holding = 0;      // yields under way that hold repaints back
    bool m_inFrame = false; // the frame's own repaints pass
    bool m_filtering = false;
    bool m_inHooks = false;
    QElapsedTimer m_pendingSince; // the first change the next frame is to show
    QTimer m_timer;               // brings the frame when no yield or pass does
    std::vector<QPointer<QObject>> m_held; // windows whose repaint waits
    std::vector<Hook> m_hooks;
    int m_frames = 0;
    int m_repaintsHeld = 0;
};

/// One operation working through the list: while one lives, the windows are
/// painted at the pacer's frames only, and when the last one goes the windows are
/// brought up to date and painted at once.
class BatchScope {
public:
    BatchScope();
    ~BatchScope();
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;
};

} // namespace vantik
