#include "host/claimforms/doctor_orders.h"

#include "host/component_error.h"
#include "host/data/connection.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"
#include "host/ui/flex_grid.h"

#include <QDateTime>

#include <algorithm>
#include <vector>

namespace vantik {

namespace {

// Twips: the date and doctor are short, the order text takes the rest.
constexpr int kDateWidth = 1900;
constexpr int kTextWidth = 3600;
constexpr int kDoctorWidth = 1800;

} // namespace

QString loadDoctorOrders(Connection& connection, const QString& idNum, FlexGrid& grid)
{
    const ResultSet orders = connection.execute(
        QStringLiteral("SELECT O.OrderDate, O.OrderText, D.LastName + ', ' + D.FirstName AS Doctor "
                       "FROM Station..tbDoctorOrders O WITH (NOLOCK) "
                       "LEFT JOIN Build_File..tbcoDoctor D WITH (NOLOCK) ON D.DoctorID = O.DoctorID "
                       "WHERE O.IDNum = '%1' ORDER BY O.OrderDate, O.OrderID")
            .arg(sqlQuote(idNum)));
    grid.reset(orders.rowCount() + 1, 3);
    grid.setText(0, OrderDateColumn, QStringLiteral("Date"));
    grid.setText(0, OrderTextColumn, QStringLiteral("Order"));
    grid.setText(0, OrderDoctorColumn, QStringLiteral("Doctor"));
    grid.setColumnWidth(OrderDateColumn, kDateWidth);
    grid.setColumnWidth(OrderTextColumn, kTextWidth);
    grid.setColumnWidth(OrderDoctorColumn, kDoctorWidth);
    for (int r = 0; r < orders.rowCount(); ++r) {
        for (int c = 0; c < 3; ++c)
            grid.setText(r + 1, c, orders.text(r, c));
    }
    return orders.rowCount() > 0 ? QStringLiteral("found") : QStringLiteral("none");
}

QString OrdersImportStopped::logLine() const
{
    return QStringLiteral("%1 orders imported: %2 of %3; stopped: %4").arg(idNum).arg(added).arg(orders).arg(message());
}

namespace {

// The import itself; added counts the notes written so far, also when it throws.
bool importOrders(Connection& connection, const QString& idNum, const FlexGrid& grid, const QString& clerk, int& added)
{
    const QString id = sqlQuote(idNum);
    // The grid shows each order's time as display text, which drops the
    // milliseconds and which the server would read under the login's language:
    // the times come from the orders themselves, and each grid row names its order.
    struct Order {
        QDateTime time;
        QString shownTime;
        QString text;
        bool imported = false;
    };
    std::vector<Order> orders;
    Recordset read;
    read.open(QStringLiteral("SELECT O.OrderDate, O.OrderText FROM Station..tbDoctorOrders O WITH (NOLOCK) "
                             "WHERE O.IDNum = '%1' ORDER BY O.OrderDate, O.OrderID")
                  .arg(id),
              connection, CursorType::ForwardOnly, LockType::ReadOnly);
    for (; !read.eof(); read.moveNext())
        orders.push_back({read.dateTimeField(QStringLiteral("OrderDate")), read.field(0), read.field(1)});
    read.close();

    for (int row = 1; row < grid.rowCount(); ++row) {
        const QString text = grid.text(row, OrderTextColumn);
        if (text.trimmed().isEmpty())
            continue;
        const QString shownTime = grid.text(row, OrderDateColumn);
        auto order = std::find_if(orders.begin(), orders.end(), [&](const Order& o) {
            return !o.imported && o.shownTime == shownTime && o.text == text;
        });
        if (order == orders.end())
            continue; // no longer among the admission's orders
        order->imported = true;
        const QString when = order->time.isValid()
            ? QStringLiteral("CourseDate = '%1'").arg(sqlDateTimeLiteral(order->time))
            : QStringLiteral("CourseDate IS NULL");
        // The note's text is compared as a literal of the column's own kind.
        sqlcompat::ColumnInfo notesColumn;
        for (const sqlcompat::ColumnInfo& column :
             connection.tableColumns({QStringLiteral("Station"), QStringLiteral("tbCourseWard")})) {
            if (sqlcompat::equalsIgnoreCase(column.name, "CourseNotes"))
                notesColumn = column;
        }
        Recordset notes;
        notes.open(QStringLiteral("SELECT IDNum, CourseDate, CourseNotes, EncodedBy FROM Station..tbCourseWard "
                                  "WHERE IDNum = '%1' AND %2 AND CourseNotes = %3")
                       .arg(id, when, sqlTextLiteral(text, notesColumn)),
                   connection, CursorType::Keyset, LockType::Optimistic);
        if (notes.eof()) {
            notes.addNew();
            notes.setField(QStringLiteral("IDNum"), idNum);
            if (order->time.isValid())
                notes.setField(QStringLiteral("CourseDate"), order->time);
            notes.setField(QStringLiteral("CourseNotes"), text);
            notes.setField(QStringLiteral("EncodedBy"), clerk);
            notes.update();
            ++added;
        }
        notes.close();
    }
    return added > 0;
}

} // namespace

QString importDoctorOrders(Connection& connection, const QString& idNum, const FlexGrid& grid, const QString& clerk)
{
    int added = 0;
    try {
        return importOrders(connection, idNum, grid, clerk, added) ? QStringLiteral("new") : QStringLiteral("exists");
    } catch (const std::exception& error) {
        if (added == 0)
            throw;
        int orders = 0;
        for (int row = 1; row < grid.rowCount(); ++row) {
            if (!grid.text(row, OrderTextColumn).trimmed().isEmpty())
                ++orders;
        }
        throw OrdersImportStopped(idNum, added, orders, errorDescription(error));
    }
}

} // namespace vantik
