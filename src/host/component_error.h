#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace vantik {

/// An error raised by a host component (the current-user component or the
/// claim-form library). what() is the description the calling operation shows.
class ComponentError : public std::runtime_error {
public:
    explicit ComponentError(const QString& description)
        : std::runtime_error(description.toStdString())
    {
    }
    QString description() const { return QString::fromUtf8(what()); }
};

/// The description of any error that reaches an operation, for its message box.
inline QString errorDescription(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

} // namespace vantik
