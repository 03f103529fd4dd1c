#pragma once

namespace vantik {

/// The one point where a long operation lets the window handle pending input
/// (the Stop button, repaints). Tests replace it to act "during" the yield.
class MessageLoop {
public:
    virtual ~MessageLoop() = default;
    virtual void yieldOnce() = 0;
};

/// Processes the pending window messages once: every input and timer event at
/// every call, so a Stop click is seen at the next row, while during a batch the
/// repaints wait for the next of at most 25 frames a second (RepaintPacer).
class QtMessageLoop : public MessageLoop {
public:
    void yieldOnce() override;
};

} // namespace vantik
