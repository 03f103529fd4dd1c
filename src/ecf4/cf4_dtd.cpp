#include "ecf4/cf4_dtd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>

#include <cstdarg>
#include <cstdio>
#include <stdexcept>

#ifndef VANTIK_BUILD_DATA_DIR
#define VANTIK_BUILD_DATA_DIR ""
#endif

namespace vantik::ecf4 {

namespace {

// libxml2 reports through callbacks, a message at times in several pieces.
struct Messages {
    QString pending;
    QStringList lines;

    void add(const char* text)
    {
        pending += QString::fromUtf8(text);
        qsizetype end;
        while ((end = pending.indexOf(QLatin1Char('\n'))) >= 0) {
            const QString line = pending.left(end).trimmed();
            if (!line.isEmpty())
                lines << line;
            pending.remove(0, end + 1);
        }
    }
    QStringList take()
    {
        if (!pending.trimmed().isEmpty())
            lines << pending.trimmed();
        pending.clear();
        return std::move(lines);
    }
};

void collect(void* context, const char* format, ...)
{
    char text[2048];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    static_cast<Messages*>(context)->add(text);
}

void ignore(void*, const char*, ...) {}

// libxml2 prints whatever nobody collects to standard error: the program says
// what went wrong in its own words instead.
void prepareLibxml()
{
    static const bool prepared = [] {
        xmlInitParser();
        xmlSetGenericErrorFunc(nullptr, ignore);
        return true;
    }();
    (void)prepared;
}

QString lastErrorText()
{
    const xmlError* error = xmlGetLastError();
    if (!error || !error->message)
        return QStringLiteral("unknown error");
    QString text = QString::fromUtf8(error->message).trimmed();
    if (error->line > 0)
        text += QStringLiteral(" (line %1)").arg(error->line);
    return text;
}

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

QString cf4DtdPath()
{
    return cf4DtdPath(executableFolder());
}

QString cf4DtdPath(const QString& executableFolder)
{
    const QString installed =
        QDir::cleanPath(executableFolder + QStringLiteral("/../share/vantik/ecf4/CF4.dtd"));
    const QString built = QDir::cleanPath(QStringLiteral(VANTIK_BUILD_DATA_DIR) + QStringLiteral("/ecf4/CF4.dtd"));
    for (const QString& candidate : {installed, built}) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    throw std::runtime_error(QStringLiteral("PhilHealth's CF4.dtd was not found at %1 nor at %2; the program needs it "
                                            "to check every CF4 it writes. Reinstall the program.")
                                 .arg(installed, built)
                                 .toStdString());
}

struct Cf4Dtd::Parsed {
    xmlDtdPtr dtd = nullptr;
    ~Parsed()
    {
        if (dtd)
            xmlFreeDtd(dtd);
    }
};

Cf4Dtd::Cf4Dtd(const QString& path)
    : m_path(path)
    , m_parsed(std::make_unique<Parsed>())
{
    prepareLibxml();
    const QByteArray file = QFile::encodeName(path);
    m_parsed->dtd = xmlParseDTD(nullptr, reinterpret_cast<const xmlChar*>(file.constData()));
    if (!m_parsed->dtd)
        throw std::runtime_error(
            QStringLiteral("PhilHealth's DTD %1 cannot be read: %2").arg(path, lastErrorText()).toStdString());
}

Cf4Dtd::~Cf4Dtd() = default;

QStringList Cf4Dtd::validate(const QByteArray& document) const
{
    xmlResetLastError();
    xmlDocPtr doc = xmlReadMemory(document.constData(), int(document.size()), "cf4.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc)
        return {QStringLiteral("The document is not well-formed XML: ") + lastErrorText()};
    Messages messages;
    xmlValidCtxtPtr context = xmlNewValidCtxt();
    if (!context) {
        xmlFreeDoc(doc);
        throw std::bad_alloc();
    }
    context->userData = &messages;
    context->error = collect;
    context->warning = ignore;
    const bool valid = xmlValidateDtd(context, doc, m_parsed->dtd) == 1;
    xmlFreeValidCtxt(context);
    xmlFreeDoc(doc);
    QStringList found = messages.take();
    if (!valid && found.isEmpty())
        found << QStringLiteral("The document does not follow PhilHealth's DTD.");
    return valid ? QStringList() : found;
}

} // namespace vantik::ecf4
