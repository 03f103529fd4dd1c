#pragma once

#include "claimwork/install_claim_work.h"
#include "host/ui/flex_grid_widget.h"
#include "support/worklist/worklist_window_fixture.h"
#include "worklist/worklist_columns.h"

#include <QStringList>

#include <vector>

namespace vantik::test {

/// One listed row as the operations read it.
struct ListedRow {
    QString idNum;
    QString sex;
    QString isChemo;
    QString isHemoDialysis;
    QString hospNum = QStringLiteral("H1");
};

/// The main window with the claim work installed over a database folder, and a
/// worklist put together by the test.
class ClaimWorkTest : public WorklistWindowTest {
protected:
    void startOn(const QString& folder)
    {
        ASSERT_TRUE(start(folder));
        installClaimWork(*window);
        user->journal.clear();
    }

    void listRows(const std::vector<ListedRow>& rows)
    {
        window->Grid1->reset(1, worklist::ColumnCount);
        for (const ListedRow& row : rows) {
            QStringList cells(worklist::ColumnCount);
            cells[worklist::HospNum] = row.hospNum;
            cells[worklist::IdNum] = row.idNum;
            cells[worklist::Sex] = row.sex;
            cells[worklist::IsChemo] = row.isChemo;
            cells[worklist::IsHemoDialysis] = row.isHemoDialysis;
            window->Grid1->appendRow(cells.join(u'\t'));
        }
        window->Grid1->setCurrent(rows.empty() ? 0 : 1, 0);
    }

    /// The journal entries that start with one of the prefixes, in order.
    QStringList journalOf(const QStringList& prefixes) const
    {
        QStringList kept;
        for (const QString& entry : user->journal) {
            for (const QString& prefix : prefixes) {
                if (entry.startsWith(prefix)) {
                    kept.append(entry);
                    break;
                }
            }
        }
        return kept;
    }
};

} // namespace vantik::test
