#pragma once

#include "host/claimforms/days_used.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace vantik {

/// The insurance window: the confinement days a patient used in one year.
class DaysUsedWindow : public QWidget {
    Q_OBJECT
public:
    explicit DaysUsedWindow(const DaysUsed& used);

    QLabel* lblPatient = nullptr;
    QTableWidget* grdStays = nullptr;
    QLabel* lblTotal = nullptr;
    QLabel* lblRemaining = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace vantik
