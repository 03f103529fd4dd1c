#include "host/claimforms/claim_form_print.h"
#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_summary.h"
#include "host/component_error.h"
#include "support/qt_printers.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace vantik {
namespace {

QStringList pdfPages(const QString& pdf)
{
    QProcess process;
    process.start("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(process.waitForFinished(60000));
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

ClaimFormRecord longForm()
{
    ClaimFormRecord form;
    form.idNum = "26000742";
    form.hospNum = "1000718";
    form.patientName = "Dela Peña, Ma. Concepcion";
    form.sex = "F";
    form.birthDate = "Jul 22 1974 12:00AM";
    form.admitted = "Nov  1 2026  1:55AM";
    form.status = "FOR ENCODING";
    form.chiefComplaint = "Fever x 5 days, positive NS1, dengue";
    for (int day = 1; day <= 12; ++day)
        form.vitalSigns.push_back({QStringLiteral("Nov %1 2026  8:00AM").arg(day, 2), "120/80", "37.5", "88", "20"});
    for (int order = 1; order <= 90; ++order)
        form.medicines.push_back({QStringLiteral("Nov %1 2026 12:00AM").arg(1 + order % 28, 2),
                                  QStringLiteral("MEDICINE %1").arg(order, 3, 10, QLatin1Char('0')), "2", "500 mg",
                                  "Oral"});
    return form;
}

TEST(ClaimFormPrint, EveryPageSaysWhoseItIsAndBrokenTablesRepeatTheirHead)
{
    test::TempDir dir;
    const QString pdf = dir.file("cf4.pdf");
    QPrinter printer(QPrinter::HighResolution);
    prepareClaimFormPage(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const int pageCount = paintClaimForm(printer, longForm(), QDateTime(QDate(2026, 11, 30), QTime(15, 4)));
    if (const QString keep = qEnvironmentVariable("VANTIK_CF4_PDF"); !keep.isEmpty())
        QFile::copy(pdf, keep);
    ASSERT_GE(pageCount, 3);
    const QStringList pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), pageCount);
    int medicinesSeen = 0;
    for (int page = 1; page <= pageCount; ++page) {
        const QString& text = pages[page - 1];
        EXPECT_TRUE(text.contains("Dela Peña, Ma. Concepcion")) << page;
        EXPECT_TRUE(text.contains("Admission 26000742")) << page;
        EXPECT_TRUE(text.contains("Hospital number 1000718")) << page;
        EXPECT_TRUE(text.contains("Printed 11/30/2026 03:04 PM")) << page;
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pageCount))) << page;
        if (page > 1 && text.contains("MEDICINE")) {
            // The medicines continue under their own head.
            EXPECT_TRUE(text.contains("Generic name")) << page;
            ++medicinesSeen;
        }
    }
    EXPECT_GE(medicinesSeen, 2);
    const QString all = pages.join(QString());
    for (int order = 1; order <= 90; ++order)
        EXPECT_EQ(all.count(QStringLiteral("MEDICINE %1").arg(order, 3, 10, QLatin1Char('0'))), 1) << order;

    // Empty fields print empty and a date without its time as a date.
    const QString first = pages[0];
    const QRegularExpression serviceLine(QStringLiteral("Service / doctor *\\n"));
    EXPECT_TRUE(serviceLine.match(first).hasMatch()) << first.toStdString();
    EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral("Sex / birth date +F / Jul 22 1974\\s*\\n"))));
    EXPECT_FALSE(all.contains("12:00AM"));
    EXPECT_TRUE(all.contains(QRegularExpression("Nov +1 2026 +1:55AM")));
}

TEST(ClaimFormPrint, ShownDatesDropOnlyAMidnightTime)
{
    EXPECT_EQ(shownDate("Jul 22 1974 12:00AM"), "Jul 22 1974");
    EXPECT_EQ(shownDate("Jul  2 1974 12:00AM"), "Jul  2 1974");
    EXPECT_EQ(shownDate("Jul 22 1974 12:00PM"), "Jul 22 1974 12:00PM");
    EXPECT_EQ(shownDate("Jul 22 1974 12:01AM"), "Jul 22 1974 12:01AM");
    EXPECT_EQ(shownDate("none at 12:00AM"), "none at 12:00AM");

    ClaimFormRecord form = longForm();
    form.service = "OB-Gyne";
    EXPECT_TRUE(claimFormSummaryHtml(form).contains("<td>OB-Gyne</td>"));
    form.sex.clear();
    form.birthDate.clear();
    EXPECT_FALSE(claimFormSummaryHtml(form).contains("<td>/</td>"));
    EXPECT_FALSE(claimFormSummaryHtml(form).contains("<td> / </td>"));
}

TEST(ClaimFormPrint, AnUnwritableFileIsAComponentError)
{
    test::TempDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.file("missing/cf4.pdf"));
    EXPECT_THROW(paintClaimForm(printer, longForm(), QDateTime::currentDateTime()), ComponentError);
}

} // namespace
} // namespace vantik
