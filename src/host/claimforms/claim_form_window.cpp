#include "host/claimforms/claim_form_window.h"

#include "host/claimforms/claim_form_print.h"
#include "host/claimforms/claim_form_requirements.h"
#include "host/claimforms/claim_form_summary.h"
#include "host/claimforms/claim_form_verification.h"
#include "host/component_error.h"
#include "host/user/current_user.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace vantik {

ClaimFormWindow::ClaimFormWindow(ClaimFormEnvironment environment, QString idNum, const QString& title)
    : m_environment(std::move(environment))
    , m_idNum(std::move(idNum))
{
    setObjectName(QStringLiteral("frmCF4Entry"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle((title.isEmpty() ? QStringLiteral("CF4 Entries") : title) + QStringLiteral(" - ") + m_idNum);

    lblHeader = new QLabel(this);
    lblHeader->setObjectName(QStringLiteral("lblHeader"));
    lblHeader->setTextFormat(Qt::RichText);
    txtSummary = new QTextBrowser(this);
    txtSummary->setObjectName(QStringLiteral("txtSummary"));
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    cmdMarkVerified = new QPushButton(QStringLiteral("Mark &verified"), this);
    cmdMarkVerified->setObjectName(QStringLiteral("cmdMarkVerified"));
    cmdPrint = new QPushButton(QStringLiteral("&Print..."), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdReload = new QPushButton(QStringLiteral("&Reload"), this);
    cmdReload->setObjectName(QStringLiteral("cmdReload"));
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdMarkVerified);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdReload);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblHeader);
    layout->addWidget(txtSummary, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);

    connect(cmdMarkVerified, &QPushButton::clicked, this, &ClaimFormWindow::markVerified);
    connect(cmdPrint, &QPushButton::clicked, this, &ClaimFormWindow::openPrintPreview);
    connect(cmdReload, &QPushButton::clicked, this, &ClaimFormWindow::reload);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 720);
    reload();
}

void ClaimFormWindow::showMessage(const QString& text, bool error)
{
    lblMessage->setStyleSheet(error ? QStringLiteral("color: #c00000;") : QStringLiteral("color: #1b7a1b;"));
    lblMessage->setText(text);
}

void ClaimFormWindow::reload()
{
    try {
        m_form = loadClaimForm(m_environment.user.sqlconnection(), m_idNum);
    } catch (const std::exception& error) {
        m_form.reset();
        lblHeader->setText(QStringLiteral("<b>%1</b>").arg(m_idNum.toHtmlEscaped()));
        txtSummary->clear();
        cmdMarkVerified->setEnabled(false);
        cmdPrint->setEnabled(false);
        showMessage(QStringLiteral("The claim form could not be read: ") + errorDescription(error), true);
        return;
    }
    if (!m_form) {
        lblHeader->setText(QStringLiteral("<b>The admission \"%1\" was not found.</b>").arg(m_idNum.toHtmlEscaped()));
        txtSummary->setPlainText(QStringLiteral("There is no admission or out-patient visit with this identifier."));
        cmdMarkVerified->setEnabled(false);
        cmdPrint->setEnabled(false);
        showMessage(QString(), false);
        return;
    }
    lblHeader->setText(QStringLiteral("<b>%1</b> &nbsp; %2 &nbsp; %3")
                           .arg(m_form->patientName.toHtmlEscaped(), m_form->idNum.toHtmlEscaped(),
                                m_form->status.toHtmlEscaped()));
    txtSummary->setHtml(claimFormSummaryHtml(*m_form));
    // Verification is offered only while the insurer's requirements are met, and
    // only once: marking again would replace who verified the form and when.
    cmdMarkVerified->setEnabled(canMarkVerified());
    cmdMarkVerified->setToolTip(alreadyVerified() ? QStringLiteral("Verified by %1 on %2.").arg(m_form->verifiedBy, m_form->verifiedOn)
                                                  : verificationFinding(*m_form));
    cmdPrint->setEnabled(true);
}

bool ClaimFormWindow::alreadyVerified() const
{
    return m_form && !m_form->verifiedBy.trimmed().isEmpty();
}

bool ClaimFormWindow::canMarkVerified() const
{
    return m_form && !alreadyVerified() && missingSections(*m_form).isEmpty();
}

void ClaimFormWindow::markVerified()
{
    if (!canMarkVerified())
        return;
    const QString clerk = m_environment.clerkName ? m_environment.clerkName() : QString();
    try {
        markClaimFormVerified(m_environment.user.sqlconnection(), m_idNum, clerk, m_environment.now());
    } catch (const std::exception& error) {
        showMessage(QStringLiteral("Not marked verified: ") + errorDescription(error), true);
        return;
    }
    reload();
    showMessage(QStringLiteral("Marked verified by %1.").arg(clerk), false);
}

void ClaimFormWindow::openPrintPreview()
{
    if (!m_form)
        return;
    if (!m_preview) {
        auto* printer = new QPrinter(QPrinter::HighResolution);
        prepareClaimFormPage(*printer);
        m_preview = new QPrintPreviewDialog(printer, this);
        m_preview->setObjectName(QStringLiteral("dlgPrintPreview"));
        m_preview->setWindowTitle(windowTitle());
        connect(m_preview, &QObject::destroyed, this, [printer] { delete printer; });
        connect(m_preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
            try {
                paintClaimForm(*target, *m_form, m_environment.now());
            } catch (const std::exception& error) {
                showMessage(errorDescription(error), true);
            }
        });
        m_preview->resize(900, 800);
    }
    m_preview->open();
}

} // namespace vantik
