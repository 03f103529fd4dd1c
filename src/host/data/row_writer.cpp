#include "host/data/row_writer.h"

namespace vantik {

QString assignedColumns(Connection& via, const QStringList& columns)
{
    QStringList sets;
    for (const QString& column : columns)
        sets << via.nativeColumnName(column) + QStringLiteral(" = ?");
    return sets.join(QStringLiteral(", "));
}

QString insertedColumns(Connection& via, const QStringList& columns)
{
    QStringList names;
    for (const QString& column : columns)
        names << via.nativeColumnName(column);
    return names.join(QStringLiteral(", "));
}

QString parameterMarks(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

} // namespace vantik
