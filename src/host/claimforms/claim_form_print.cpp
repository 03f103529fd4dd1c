#include "host/claimforms/claim_form_print.h"

#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_summary.h"
#include "host/claimforms/print_text.h"
#include "host/component_error.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace vantik {

namespace {

constexpr double kMarginMm = 15.0;
constexpr double kBodyPoints = 9.5;
constexpr double kNamePoints = 11.0;
constexpr double kSmallPoints = 8.0;
constexpr double kGapPoints = 8.0;
constexpr double kLinePoints = 0.5;

ComponentError printFailure(const ClaimFormRecord& form, const QString& reason)
{
    return ComponentError(QStringLiteral("Cannot print the claim form of %1: %2.").arg(form.idNum, reason));
}

/// Every list repeats its head row where a page breaks it.
void repeatTableHeads(QTextFrame* frame)
{
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            // The ruled tables are the lists; the plain one holds the admission's fields.
            QTextTableFormat format = table->format();
            if (format.headerRowCount() == 0 && format.border() > 0 && table->rows() > 1) {
                format.setHeaderRowCount(1);
                table->setFormat(format);
            }
        }
        repeatTableHeads(child);
    }
}

} // namespace

void prepareClaimFormPage(QPrinter& printer)
{
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

int paintClaimForm(QPrinter& printer, const ClaimFormRecord& form, const QDateTime& printedAt)
{
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw printFailure(form, printer.outputFormat() == QPrinter::PdfFormat
                                     ? QStringLiteral("the file \"%1\" cannot be written").arg(printer.outputFileName())
                                     : QStringLiteral("the printer is not available"));
    }
    const double pixelsPerPoint = printer.resolution() / 72.0;
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();

    const QFont nameFont = printFont(kNamePoints, true);
    const QFont smallFont = printFont(kSmallPoints, false);
    const QFontMetricsF name(nameFont, &printer);
    const QFontMetricsF small(smallFont, &printer);
    const double headerHeight = name.height() + small.height();
    const double gap = kGapPoints * pixelsPerPoint;
    const double bodyTop = headerHeight + gap;
    const QSizeF body(page.width(), page.height() - bodyTop - small.height() - gap);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    QFont bodyFont = printFont(kBodyPoints, false);
    bodyFont.setKerning(true);
    document.setDefaultFont(bodyFont);
    document.setDocumentMargin(0);
    document.setHtml(claimFormSummaryHtml(form));
    repeatTableHeads(document.rootFrame());
    document.setPageSize(body);
    const int pageCount = std::max(1, document.pageCount());

    const QString patient = form.patientName.isEmpty() ? QStringLiteral("(no name)") : form.patientName;
    QStringList admission{QStringLiteral("Admission %1").arg(form.idNum)};
    if (!form.hospNum.isEmpty())
        admission.append(QStringLiteral("Hospital number %1").arg(form.hospNum));
    const QString printed = QStringLiteral("Printed ") + printedAt.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"));

    for (int index = 0; index < pageCount; ++index) {
        if (index > 0 && !printer.newPage())
            throw printFailure(form, QStringLiteral("page %1 could not be started").arg(index + 1));
        // Who and which admission, on every sheet: pages that come apart still say whose they are.
        painter.setPen(Qt::NoPen);
        painter.setPen(Qt::black);
        painter.setFont(nameFont);
        painter.drawText(QRectF(0, 0, page.width(), name.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         name.elidedText(patient, Qt::ElideRight, page.width() * 0.7));
        painter.setFont(smallFont);
        painter.drawText(QRectF(0, 0, page.width(), name.height()), Qt::AlignRight | Qt::AlignVCenter, printed);
        painter.drawText(QRectF(0, name.height(), page.width(), small.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         admission.join(QStringLiteral("    ")));
        painter.setPen(QPen(Qt::gray, kLinePoints * pixelsPerPoint));
        painter.drawLine(QPointF(0, headerHeight + gap / 3), QPointF(page.width(), headerHeight + gap / 3));

        painter.save();
        painter.translate(0, bodyTop - index * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, index * body.height(), body.width(), body.height());
        // A table's frame would otherwise run on into the page's header and footer.
        painter.setClipRect(context.clip);
        context.palette.setColor(QPalette::Text, Qt::black);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setPen(Qt::black);
        painter.setFont(smallFont);
        painter.drawText(QRectF(0, page.height() - small.height(), page.width(), small.height()), Qt::AlignCenter,
                         QStringLiteral("Page %1 of %2").arg(index + 1).arg(pageCount));
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw printFailure(form, QStringLiteral("the print could not be finished"));
    return pageCount;
}

} // namespace vantik
