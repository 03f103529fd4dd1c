#pragma once

#include <QString>

#include <stdexcept>

namespace vantik {

/// What went wrong, where the program acts on it: a statement that waited too
/// long or was chosen as a deadlock victim can be tried again, a lost connection
/// is opened again.
enum class DatabaseErrorKind {
    General,
    /// Another connection held a lock longer than the lock timeout; the batch was rolled back.
    LockTimeout,
    /// The server gave no answer within the query timeout: what the statement did is not known.
    QueryTimeout,
    /// The server chose the batch as a deadlock victim and rolled it back whole.
    Deadlock,
    /// The connection broke: what the statement did is not known, the connection is unusable.
    ConnectionLost,
    /// A save's connection broke, or its batch ran out of time, and the row could
    /// not be read again: the record may or may not have been saved.
    SaveOutcomeUnknown,
};

/// An error of the database or of the data layer. what() carries the text the
/// clerk sees (the database's own message where there is one).
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const QString& message, DatabaseErrorKind kind = DatabaseErrorKind::General)
        : std::runtime_error(message.toStdString())
        , m_kind(kind)
    {
    }
    QString message() const { return QString::fromUtf8(what()); }
    DatabaseErrorKind kind() const { return m_kind; }

private:
    DatabaseErrorKind m_kind;
};

/// Whether the failure leaves it open if the record was saved.
inline bool saveOutcomeUnknown(const std::exception& error)
{
    const auto* database = dynamic_cast<const DatabaseError*>(&error);
    return database && database->kind() == DatabaseErrorKind::SaveOutcomeUnknown;
}

/// Saving found the record no longer as it was read: another user changed or deleted it.
inline constexpr const char* kRecordChangedMessage =
    "The record was changed by another user since it was read; nothing was saved.";

/// A wait for another user's lock ran out, or the server kept giving way to other work.
inline constexpr const char* kRecordBusyMessage =
    "Record busy, try again: another user is changing this record right now.";

} // namespace vantik
