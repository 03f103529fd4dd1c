#pragma once

#include <QString>
#include <QTemporaryDir>

namespace vantik::test {

/// A folder that lives as long as the object; fails the test when it cannot be made.
class TempDir {
public:
    TempDir();
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    std::string stdPath() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

} // namespace vantik::test
