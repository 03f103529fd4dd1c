#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace vantik::ecf4 {

/// Where PhilHealth's CF4.dtd is: first the installed place
/// `<folder of the executable>/../share/vantik/ecf4/CF4.dtd`, then the copy the
/// build places in `<build>/data/ecf4/CF4.dtd`. Throws std::runtime_error naming
/// both places when neither holds it.
QString cf4DtdPath();
/// The same for an executable in the given folder.
QString cf4DtdPath(const QString& executableFolder);

/// PhilHealth's DTD, read once, against which documents are validated with libxml2.
class Cf4Dtd {
public:
    /// Throws std::runtime_error naming the file when it cannot be read as a DTD.
    explicit Cf4Dtd(const QString& path = cf4DtdPath());
    ~Cf4Dtd();
    Cf4Dtd(const Cf4Dtd&) = delete;
    Cf4Dtd& operator=(const Cf4Dtd&) = delete;

    const QString& path() const { return m_path; }

    /// What keeps the document from being well-formed XML valid against the DTD,
    /// one message per fault as libxml2 words it; empty when it is valid.
    QStringList validate(const QByteArray& document) const;

private:
    struct Parsed;
    QString m_path;
    std::unique_ptr<Parsed> m_parsed;
};

} // namespace vantik::ecf4
