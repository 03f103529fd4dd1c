#pragma once

#include <QDate>

namespace vantik {

/// Today's date, replaceable in tests.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

} // namespace vantik
