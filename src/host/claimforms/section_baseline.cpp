#include "host/claimforms/section_baseline.h"

#include <utility>

namespace vantik {

SectionBaseline::SectionBaseline(QStringList shownColumns)
    : m_columns(std::move(shownColumns))
{
}

QStringList SectionBaseline::shown(const std::optional<SeenRow>& row) const
{
    QStringList texts;
    for (const QString& column : m_columns)
        texts << (row ? row->text(column) : QString());
    return texts;
}

void SectionBaseline::read(const std::optional<SeenRow>& row, bool typed)
{
    m_current = row;
    if (!typed || shown(m_base) == shown(m_current))
        m_base = m_current;
}

QString SectionBaseline::baseText(const QString& column) const
{
    return m_base ? m_base->text(column) : QString();
}

bool SectionBaseline::changedUnder() const
{
    return shown(m_base) != shown(m_current);
}

} // namespace vantik
