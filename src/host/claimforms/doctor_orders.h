#pragma once

#include <QString>

namespace vantik {

class Connection;
class FlexGrid;

/// Columns of the orders grid: when ordered, what, by whom.
enum DoctorOrderColumn { OrderDateColumn = 0, OrderTextColumn = 1, OrderDoctorColumn = 2 };

/// Fills the grid with the admission's doctors' orders (a header row, then one row
/// per order in order of time). Gives "found" when there is at least one, else "none".
QString loadDoctorOrders(Connection& connection, const QString& idNum, FlexGrid& grid);

/// Adds each order of the grid to the admission's course in the ward unless a note
/// of the same time and text is there already. The note takes the order's exact
/// time from the database, never the grid's text of it; a grid row whose order is
/// no longer there is passed over. Gives "new" when it added at least one, else
/// "exists". Throws DatabaseError; notes added before a failure stay.
QString importDoctorOrders(Connection& connection, const QString& idNum, const FlexGrid& grid, const QString& clerk);

} // namespace vantik
