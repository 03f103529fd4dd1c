#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace vantik::ecf4 {

/// A file that could not be written; what() names the file and the reason.
class FileOutputError : public std::runtime_error {
public:
    FileOutputError(const QString& path, const QString& reason);
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};

enum class ExistingFile {
    Keep,    ///< an existing file of the name stays; the write fails and says so
    Replace, ///< the caller has the clerk's consent to replace it
};

/// Writes the whole file under a temporary name beside it, on disk, and only then
/// gives it its name, so that the name never shows half a file. With Keep, an
/// existing file is left as it is, even one that appears while writing. The new
/// file gets the usual permissions (0666 less the umask). Throws FileOutputError;
/// a failed write leaves no temporary file behind.
void writeWholeFile(const QString& path, const QByteArray& bytes, ExistingFile existing);

} // namespace vantik::ecf4
