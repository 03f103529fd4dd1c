#pragma once

#include "host/data/database_error.h"

#include <QString>

namespace vantik {

class Connection;
class FlexGrid;

/// Columns of the orders grid: when ordered, what, by whom.
enum DoctorOrderColumn { OrderDateColumn = 0, OrderTextColumn = 1, OrderDoctorColumn = 2 };

/// Fills the grid with the admission's doctors' orders (a header row, then one row
/// per order in order of time). Gives "found" when there is at least one, else "none".
QString loadDoctorOrders(Connection& connection, const QString& idNum, FlexGrid& grid);

/// An import that stopped part of the way: the notes added before the failure
/// stay. what() is the failure's own description.
class OrdersImportStopped : public DatabaseError {
public:
    OrdersImportStopped(const QString& idNum, int added, int orders, const QString& reason)
        : DatabaseError(reason)
        , idNum(idNum)
        , added(added)
        , orders(orders)
    {
    }
    /// "<IDNum> orders imported: n of m; stopped: <reason>", the user-log line
    /// that records what the import changed.
    QString logLine() const;

    QString idNum;
    int added = 0;  ///< notes this import added
    int orders = 0; ///< orders in the grid
};

/// Adds each order of the grid to the admission's course in the ward unless a note
/// of the same time and text is there already. The note takes the order's exact
/// time from the database, never the grid's text of it; a grid row whose order is
/// no longer there is passed over. Gives "new" when it added at least one, else
/// "exists". A failure once notes were added throws OrdersImportStopped (they
/// stay); one before throws the failure itself.
QString importDoctorOrders(Connection& connection, const QString& idNum, const FlexGrid& grid, const QString& clerk);

} // namespace vantik
