#include "host/claimforms/conflict_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantik {

ConflictBar::ConflictBar(const QString& name, const QString& what, QWidget* parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("fra%1Conflict").arg(name));
    setAccessibleName(QStringLiteral("Changed by another user"));
    setFrameShape(QFrame::StyledPanel);
    lblTheirs = new QLabel(this);
    lblTheirs->setObjectName(QStringLiteral("lbl%1Theirs").arg(name));
    lblTheirs->setWordWrap(true);
    lblTheirs->setTextFormat(Qt::PlainText);
    lblTheirs->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblTheirs->setStyleSheet(QStringLiteral("color: #c00000;"));
    cmdKeepTheirs = new QPushButton(QStringLiteral("&Keep theirs"), this);
    cmdKeepTheirs->setObjectName(QStringLiteral("cmd%1KeepTheirs").arg(name));
    cmdKeepTheirs->setAccessibleName(QStringLiteral("Keep the other user's %1").arg(what));
    cmdKeepTheirs->setToolTip(QStringLiteral("Drops what you typed and shows what is saved."));
    cmdSaveMine = new QPushButton(QStringLiteral("Save mine an&yway"), this);
    cmdSaveMine->setObjectName(QStringLiteral("cmd%1SaveMine").arg(name));
    cmdSaveMine->setAccessibleName(QStringLiteral("Save my %1 over the other user's").arg(what));
    cmdSaveMine->setToolTip(QStringLiteral("Saves what you typed in place of what the other user saved."));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdKeepTheirs);
    buttons->addWidget(cmdSaveMine);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTheirs);
    layout->addLayout(buttons);
    hide();
}

void ConflictBar::showTheirs(const QString& theirs)
{
    lblTheirs->setText(QStringLiteral("Changed by another user since you began typing. Saved now: ") + theirs);
    show();
}

} // namespace vantik
