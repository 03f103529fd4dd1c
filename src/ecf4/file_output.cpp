#include "ecf4/file_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantik::ecf4 {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Removes the temporary file however the write ends.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& target)
    {
        const QFileInfo info(target);
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_path = QFile::encodeName(info.absoluteDir().filePath(
                QStringLiteral(".%1.%2-%3.part").arg(info.fileName()).arg(::getpid()).arg(attempt)));
            m_fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                throw FileOutputError(target, systemReason(errno));
        }
        if (m_fd < 0)
            throw FileOutputError(target, QStringLiteral("no temporary name is free beside it"));
    }
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_published)
            ::unlink(m_path.constData());
    }
    int fd() const { return m_fd; }
    const QByteArray& path() const { return m_path; }
    /// Closes the file; false with errno set when the close reports a failed write.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }
    void published() { m_published = true; }

private:
    QByteArray m_path;
    int m_fd = -1;
    bool m_published = false;
};

void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

FileOutputError::FileOutputError(const QString& path, const QString& reason)
    : std::runtime_error(QStringLiteral("%1 could not be written: %2.").arg(QDir::toNativeSeparators(path), reason)
                             .toStdString())
    , m_path(path)
    , m_reason(reason)
{
}

void writeWholeFile(const QString& path, const QByteArray& bytes, ExistingFile existing)
{
    const QByteArray target = QFile::encodeName(path);
    if (existing == ExistingFile::Keep && QFileInfo::exists(path))
        throw FileOutputError(path, QStringLiteral("a file of that name exists and was not replaced"));
    TemporaryFile part(path);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(part.fd(), data, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw FileOutputError(path, systemReason(errno));
        }
        data += written;
        left -= written;
    }
    if (::fsync(part.fd()) != 0 || !part.close())
        throw FileOutputError(path, systemReason(errno));
    if (existing == ExistingFile::Replace) {
        if (std::rename(part.path().constData(), target.constData()) != 0)
            throw FileOutputError(path, systemReason(errno));
    } else if (::link(part.path().constData(), target.constData()) == 0) {
        // The link gives the name only while no file has it; the temporary name goes.
        ::unlink(part.path().constData());
    } else if (errno == EEXIST) {
        throw FileOutputError(path, QStringLiteral("a file of that name exists and was not replaced"));
    } else {
        // A file system without hard links: the name was free a moment ago.
        if (QFileInfo::exists(path))
            throw FileOutputError(path, QStringLiteral("a file of that name exists and was not replaced"));
        if (std::rename(part.path().constData(), target.constData()) != 0)
            throw FileOutputError(path, systemReason(errno));
    }
    part.published();
    syncFolder(path);
}

} // namespace vantik::ecf4
