#include "host/claimforms/days_used_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantik {

DaysUsedWindow::DaysUsedWindow(const DaysUsed& used)
{
    setObjectName(QStringLiteral("frmInsurance"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Days Used %1 - %2").arg(used.year).arg(used.hospNum));

    lblPatient = new QLabel(QStringLiteral("Hospital number %1: admissions in %2").arg(used.hospNum).arg(used.year), this);
    lblPatient->setObjectName(QStringLiteral("lblPatient"));
    grdStays = new QTableWidget(int(used.stays.size()), 4, this);
    grdStays->setObjectName(QStringLiteral("grdStays"));
    grdStays->setAccessibleName(QStringLiteral("Stays in the year"));
    grdStays->setHorizontalHeaderLabels({QStringLiteral("Admission"), QStringLiteral("Admitted"),
                                         QStringLiteral("Discharged"), QStringLiteral("Days in %1").arg(used.year)});
    grdStays->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdStays->verticalHeader()->hide();
    for (int r = 0; r < int(used.stays.size()); ++r) {
        const StayInYear& stay = used.stays[std::size_t(r)];
        const QString discharged = stay.discharged.isEmpty() ? QStringLiteral("(still admitted)") : stay.discharged;
        const QStringList cells{stay.idNum, stay.admitted, discharged, QString::number(stay.days)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdStays->setItem(r, c, item);
        }
    }
    grdStays->resizeColumnsToContents();
    grdStays->horizontalHeader()->setStretchLastSection(true);

    lblTotal = new QLabel(QStringLiteral("Days used: %1").arg(used.total), this);
    lblTotal->setObjectName(QStringLiteral("lblTotal"));
    const std::optional<int> remaining = used.remaining();
    lblRemaining = new QLabel(remaining ? QStringLiteral("Days remaining: %1 of %2").arg(*remaining).arg(used.limit)
                                        : QStringLiteral("No yearly limit on days."),
                              this);
    lblRemaining->setObjectName(QStringLiteral("lblRemaining"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPatient);
    layout->addWidget(grdStays, 1);
    layout->addWidget(lblTotal);
    layout->addWidget(lblRemaining);
    layout->addWidget(cmdClose, 0, Qt::AlignRight);
    resize(620, 320);
}

} // namespace vantik
