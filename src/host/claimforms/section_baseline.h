#pragma once

#include "host/claimforms/claim_form_saves.h"

#include <QStringList>

#include <optional>

namespace vantik {

/// The row a section of the entry window was typed against, and the row as read
/// last. Typed text stays checked against the row it was typed on: reading the
/// form again (after another section's save, a reload, the form opened again from
/// the list) must not move that baseline, or the save would overwrite whatever
/// another user saved in between without anyone seeing it.
class SectionBaseline {
public:
    /// shownColumns: what the section shows of its row. A change elsewhere in the
    /// row is no conflict for the clerk's typing.
    explicit SectionBaseline(QStringList shownColumns);

    /// After each read of the row. Without typed text the baseline becomes the row
    /// read; with it, the baseline stays, unless what the section shows of the row
    /// is unchanged (nothing the clerk would overwrite).
    void read(const std::optional<SeenRow>& row, bool typed);
    /// The clerk has seen the row as read last and decided on it.
    void takeCurrent() { m_base = m_current; }

    /// What a save of the section checks against.
    const std::optional<SeenRow>& base() const { return m_base; }
    const std::optional<SeenRow>& current() const { return m_current; }
    /// A shown column's text in the baseline ("" when there is no row).
    QString baseText(const QString& column) const;
    /// Another user saved the section since the clerk began typing: what it shows
    /// of the row differs from the baseline.
    bool changedUnder() const;

private:
    QStringList shown(const std::optional<SeenRow>& row) const;

    QStringList m_columns;
    std::optional<SeenRow> m_base;
    std::optional<SeenRow> m_current;
};

} // namespace vantik
