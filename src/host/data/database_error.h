#pragma once

#include <QString>

#include <stdexcept>

namespace vantik {

/// An error of the database or of the data layer. what() carries the text the
/// clerk sees (the database's own message where there is one).
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
};

/// Saving found the record no longer as it was read: another user changed or deleted it.
inline constexpr const char* kRecordChangedMessage =
    "The record was changed by another user since it was read; nothing was saved.";

} // namespace vantik
