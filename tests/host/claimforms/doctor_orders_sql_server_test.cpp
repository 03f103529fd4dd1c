// The orders import on SQL Server: the note it looks for must be the note it wrote.

#include "host/claimforms/doctor_orders.h"
#include "host/data/recorded_sql_server.h"
#include "host/ui/flex_grid_widget.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace vantik;
using test::catalog;
using test::column;
using test::RecordingOdbcSession;
using test::rows;

namespace {

class OrdersImportOnSqlServerTest : public test::RecordedSqlServerTest {};

} // namespace

TEST_F(OrdersImportOnSqlServerTest, TheNoteIsLookedForWithALiteralOfItsColumnsKind)
{
    // In a varchar column "≥" and an emoji were stored as "?" already, and a
    // national literal would keep the index from being used; in an nvarchar column
    // a literal without N would turn them into "?", never find the note, and
    // import it again at every run.
    const QString order = QStringLiteral("Dose ≥ 5 mg if pain 😣; it's PRN");
    const QDateTime ordered(QDate(2026, 11, 2), QTime(9, 0, 0, 997));
    const struct {
        const char* type;
        QString literal;
    } kinds[] = {{"nvarchar", "N'Dose ≥ 5 mg if pain 😣; it''s PRN'"}, {"varchar", "'Dose ≥ 5 mg if pain 😣; it''s PRN'"}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.type);
        auto session = std::make_unique<RecordingOdbcSession>();
        server = session.get();
        connection = std::make_unique<OdbcConnection>(std::move(session));
        server->answers.push_back(rows({"OrderDate", "OrderText"}, {{ordered, order}}));
        server->answers.push_back(catalog({column("ID", "int", 4, 10, 0, 0, 1), column("IDNum", "varchar", 12),
                                           column("CourseDate", "datetime", 8, 23, 3),
                                           column("CourseNotes", kind.type, 1000),
                                           column("EncodedBy", "varchar", 30)}));
        server->answers.push_back(rows({"IDNum", "CourseDate", "CourseNotes", "EncodedBy", "__vantik_key_0"}, {}));
        server->answers.push_back(RecordingOdbcSession::saved(1, 12));

        FlexGridWidget grid;
        grid.reset(2, 3);
        grid.setText(1, OrderDateColumn, "11/2/2026 9:00:00 AM");
        grid.setText(1, OrderTextColumn, order);
        EXPECT_EQ(importDoctorOrders(*connection, "2400001", grid, "CLERK"), "new");

        const QString where = "WHERE IDNum = '2400001' AND CourseDate = '2026-11-02T09:00:00.997' AND CourseNotes = "
            + kind.literal;
        bool looked = false;
        for (const auto& sent : server->sent)
            looked = looked || (sent.statement.startsWith("SELECT IDNum, CourseDate") && sent.statement.endsWith(where));
        EXPECT_TRUE(looked);
        // The insert holds the same literal in its check that the note is still absent.
        EXPECT_TRUE(server->sent.back().statement.contains(where)) << server->sent.back().statement.toStdString();
        EXPECT_EQ(server->sent.back().parameters,
                  QVariantList({"2400001", "2026-11-02T09:00:00.997", order, "CLERK"}));
    }
}
