#include "host/data/result_set.h"

#include "host/data/database_error.h"

#include <limits>

namespace vantik {

ResultSet::ResultSet(QStringList columnNames, std::vector<SqlType> columnTypes)
    : m_names(std::move(columnNames))
    , m_types(std::move(columnTypes))
    , m_columns(static_cast<std::size_t>(m_names.size()))
{
    m_types.resize(m_columns, SqlType::Unknown);
}

SqlType ResultSet::columnType(int column) const
{
    if (column < 0 || static_cast<std::size_t>(column) >= m_types.size())
        return SqlType::Unknown;
    return m_types[static_cast<std::size_t>(column)];
}

QStringView ResultSet::cell(int row, int column) const
{
    if (row < 0 || column < 0 || static_cast<std::size_t>(column) >= m_columns)
        return {};
    const std::size_t index = static_cast<std::size_t>(row) * m_columns + static_cast<std::size_t>(column);
    if (index >= std::size_t(m_ends.size()))
        return {};
    const std::uint32_t begin = index == 0 ? 0 : m_ends[qsizetype(index) - 1];
    return QStringView(m_text).mid(begin, m_ends[qsizetype(index)] - begin);
}

void ResultSet::squeeze()
{
    m_text.squeeze();
    m_ends.squeeze();
}

qsizetype ResultSet::bytesHeld() const
{
    qsizetype names = 0;
    for (const QString& name : m_names)
        names += name.capacity() * qsizetype(sizeof(QChar));
    return m_text.capacity() * qsizetype(sizeof(QChar)) + m_ends.capacity() * qsizetype(sizeof(std::uint32_t))
        + qsizetype(m_types.capacity() * sizeof(SqlType)) + names;
}

void ResultSet::reserve(int rows, int averageCellLength)
{
    const std::size_t cells = static_cast<std::size_t>(rows > 0 ? rows : 0) * m_columns;
    m_ends.reserve(qsizetype(cells));
    m_text.reserve(static_cast<qsizetype>(cells) * (averageCellLength > 0 ? averageCellLength : 1));
}

void ResultSet::appendCell(QStringView text)
{
    m_text.append(text);
    if (m_text.size() > std::numeric_limits<std::uint32_t>::max())
        throw DatabaseError(QStringLiteral("The result is too large to hold."));
    m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
}

void ResultSet::appendCellUtf8(const char* utf8, int length)
{
    if (length > 0) {
        bool ascii = true;
        for (int i = 0; i < length && ascii; ++i)
            ascii = static_cast<unsigned char>(utf8[i]) < 0x80;
        // Most hospital text is ASCII: appending it as Latin-1 avoids a temporary string.
        if (ascii)
            m_text.append(QLatin1String(utf8, length));
        else
            m_text.append(QString::fromUtf8(utf8, length));
    }
    if (m_text.size() > std::numeric_limits<std::uint32_t>::max())
        throw DatabaseError(QStringLiteral("The result is too large to hold."));
    m_ends.push_back(static_cast<std::uint32_t>(m_text.size()));
}

} // namespace vantik
