#include "host/claimforms/doctor_orders.h"

#include "host/data/connection.h"
#include "host/data/recordset.h"
#include "host/data/sql_quote.h"
#include "host/ui/flex_grid.h"

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

QString importDoctorOrders(Connection& connection, const QString& idNum, const FlexGrid& grid, const QString& clerk)
{
    const QString id = sqlQuote(idNum);
    bool added = false;
    for (int row = 1; row < grid.rowCount(); ++row) {
        const QString orderedOn = grid.text(row, OrderDateColumn);
        const QString text = grid.text(row, OrderTextColumn);
        if (text.trimmed().isEmpty())
            continue;
        Recordset notes;
        notes.open(QStringLiteral("SELECT IDNum, CourseDate, CourseNotes, EncodedBy FROM Station..tbCourseWard "
                                  "WHERE IDNum = '%1' AND CourseDate = '%2' AND CourseNotes = '%3'")
                       .arg(id, sqlQuote(orderedOn), sqlQuote(text)),
                   connection, CursorType::Keyset, LockType::Optimistic);
        if (notes.eof()) {
            notes.addNew();
            notes.setField(QStringLiteral("IDNum"), idNum);
            notes.setField(QStringLiteral("CourseDate"), orderedOn);
            notes.setField(QStringLiteral("CourseNotes"), text);
            notes.setField(QStringLiteral("EncodedBy"), clerk);
            notes.update();
            added = true;
        }
        notes.close();
    }
    return added ? QStringLiteral("new") : QStringLiteral("exists");
}

} // namespace vantik
