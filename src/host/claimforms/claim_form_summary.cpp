#include "host/claimforms/claim_form_summary.h"

#include "host/claimforms/claim_form_record.h"
#include "host/claimforms/claim_form_requirements.h"

#include <QRegularExpression>

#include <functional>

namespace vantik {

namespace {

QString esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString row(const QStringList& cells)
{
    QString html = QStringLiteral("<tr>");
    for (const QString& cell : cells)
        html += QStringLiteral("<td>") + esc(shownDate(cell)) + QStringLiteral("</td>");
    return html + QStringLiteral("</tr>");
}

QString table(const QStringList& headers, const std::function<QString()>& rows, bool empty)
{
    if (empty)
        return QStringLiteral("<p><i>No entry.</i></p>");
    // The header row is the table's head, so that a printed page that breaks the
    // table repeats it.
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><thead><tr>");
    for (const QString& header : headers)
        html += QStringLiteral("<th align=\"left\">") + esc(header) + QStringLiteral("</th>");
    return html + QStringLiteral("</tr></thead><tbody>") + rows() + QStringLiteral("</tbody></table>");
}

QString heading(const ClaimFormRecord& form, const QString& title, ClaimFormSection section)
{
    const bool complete = sectionComplete(form, section);
    return QStringLiteral("<h3>%1 <span style=\"color:%2\">[%3]</span></h3>")
        .arg(esc(title), complete ? QStringLiteral("#1b7a1b") : QStringLiteral("#c00000"),
             complete ? QStringLiteral("complete") : QStringLiteral("missing"));
}

/// The filled ones of the texts, " / " between them: nothing for none.
QString joined(const QStringList& parts)
{
    QStringList filled;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            filled.append(part);
    }
    return filled.join(QStringLiteral(" / "));
}

} // namespace

QString shownDate(const QString& text)
{
    // The database writes a date without a time as midnight: "Jul 22 1974 12:00AM".
    static const QRegularExpression midnight(QStringLiteral("^([A-Za-z]{3} {1,2}\\d{1,2} \\d{4}) {1,2}12:00AM$"));
    const QRegularExpressionMatch match = midnight.match(text);
    return match.hasMatch() ? match.captured(1) : text;
}

QString claimFormSummaryHtml(const ClaimFormRecord& form)
{
    QString html;
    html += QStringLiteral("<h2>Claim Form 4: %1</h2>").arg(esc(form.patientName));
    html += QStringLiteral("<table cellpadding=\"2\">");
    const auto field = [&](const QString& label, const QString& value) {
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(esc(label), esc(value));
    };
    field(QStringLiteral("Admission"), form.idNum + (form.outPatient ? QStringLiteral(" (out-patient)") : QString()));
    field(QStringLiteral("Hospital number"), form.hospNum);
    field(QStringLiteral("Sex / birth date"), joined({form.sex, shownDate(form.birthDate)}));
    field(QStringLiteral("Admitted"), shownDate(form.admitted));
    field(QStringLiteral("Discharged"), shownDate(form.discharged));
    field(QStringLiteral("Service / doctor"), joined({form.service, form.doctor}));
    field(QStringLiteral("Diagnosis"), form.diagnosis);
    field(QStringLiteral("CF4 status"), form.status);
    field(QStringLiteral("Verified"), form.verifiedBy.isEmpty() ? QString() : form.verifiedBy + QStringLiteral(", ") + shownDate(form.verifiedOn));
    html += QStringLiteral("</table>");

    const QString finding = verificationFinding(form);
    html += finding.isEmpty() ? QStringLiteral("<p><b style=\"color:#1b7a1b\">All requirements are met.</b></p>")
                              : QStringLiteral("<p><b style=\"color:#c00000\">%1</b></p>").arg(esc(finding));

    html += heading(form, QStringLiteral("Chief complaint / brief history"), ClaimFormSection::BriefHistory);
    html += QStringLiteral("<p>%1</p>").arg(esc(form.chiefComplaint));

    html += heading(form, QStringLiteral("Vital signs"), ClaimFormSection::VitalSigns);
    html += table({QStringLiteral("Taken"), QStringLiteral("BP"), QStringLiteral("Temp"), QStringLiteral("Pulse"), QStringLiteral("Resp")},
                  [&] {
                      QString rows;
                      for (const auto& v : form.vitalSigns)
                          rows += row({v.takenOn, v.bloodPressure, v.temperature, v.pulseRate, v.respiratoryRate});
                      return rows;
                  },
                  form.vitalSigns.empty());

    html += heading(form, QStringLiteral("Height and weight"), ClaimFormSection::HeightWeight);
    html += table({QStringLiteral("Taken"), QStringLiteral("Height"), QStringLiteral("Weight")},
                  [&] {
                      QString rows;
                      for (const auto& m : form.measurements)
                          rows += row({m.takenOn, m.height, m.weight});
                      return rows;
                  },
                  form.measurements.empty());

    html += heading(form, QStringLiteral("Physical examination (GU(IE) required)"), ClaimFormSection::GuEntry);
    html += table({QStringLiteral("Area"), QStringLiteral("Entry"), QStringLiteral("Description"), QStringLiteral("Result"), QStringLiteral("Remarks")},
                  [&] {
                      QString rows;
                      for (const auto& f : form.findings)
                          rows += row({f.area, f.subArea, f.description, f.result, f.remarks});
                      return rows;
                  },
                  form.findings.empty());

    html += heading(form, QStringLiteral("Course in the ward"), ClaimFormSection::CourseInTheWard);
    html += table({QStringLiteral("Date"), QStringLiteral("Note"), QStringLiteral("By")},
                  [&] {
                      QString rows;
                      for (const auto& n : form.courseNotes)
                          rows += row({n.writtenOn, n.text, n.by});
                      return rows;
                  },
                  form.courseNotes.empty());

    html += heading(form, QStringLiteral("Drugs and medicines"), ClaimFormSection::Medicines);
    html += table({QStringLiteral("Ordered"), QStringLiteral("Generic name"), QStringLiteral("Qty"), QStringLiteral("Dosage"), QStringLiteral("Route")},
                  [&] {
                      QString rows;
                      for (const auto& m : form.medicines)
                          rows += row({m.orderedOn, m.genericName, m.quantity, m.dosage, m.route});
                      return rows;
                  },
                  form.medicines.empty());

    html += heading(form, QStringLiteral("Discharge"), ClaimFormSection::Discharge);
    html += QStringLiteral("<p>%1</p>").arg(form.discharged.isEmpty() ? QStringLiteral("Not discharged.") : esc(shownDate(form.discharged)));
    return html;
}

} // namespace vantik
