#include "host/claimforms/finding_checks.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace vantik {

namespace {

const char* kIdProperty = "libraryId";

// "PAIN" reads as "Pain" on a box; PhilHealth's typos stay, as the sheet has them.
QString boxText(const char* description)
{
    const QString text = QString::fromUtf8(description);
    if (text != text.toUpper())
        return text;
    QString sentence = text.toLower();
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toUpper();
    return sentence;
}

} // namespace

FindingChecks::FindingChecks(ecf4::Library library, const QString& title, const QString& namePart, int columns,
                             QWidget* parent)
    : QGroupBox(title, parent)
    , m_library(library)
    , m_title(title)
{
    setObjectName(QStringLiteral("fra") + namePart);
    setAccessibleName(title);
    const ecf4::LibraryInfo& info = ecf4::libraryInfo(library);
    auto* grid = new QGridLayout;
    int cell = 0;
    for (const ecf4::LibraryEntry& entry : info.entries) {
        if (!entry.active)
            continue;
        auto* box = new QCheckBox(boxText(entry.description), this);
        box->setObjectName(QStringLiteral("chk") + namePart + QString::fromLatin1(entry.id));
        box->setAccessibleName(title + QStringLiteral(": ") + box->text());
        box->setProperty(kIdProperty, QString::fromLatin1(entry.id));
        grid->addWidget(box, cell / columns, cell % columns);
        ++cell;
        m_boxes << box;
        const bool normal = info.essentiallyNormal && qstrcmp(entry.id, info.essentiallyNormal) == 0;
        if (normal) {
            m_normal = box;
            connect(box, &QCheckBox::toggled, this, &FindingChecks::normalToggled);
        }
        if (qstrcmp(entry.id, ecf4::kOthersId) == 0)
            m_others = box;
        connect(box, &QCheckBox::toggled, this, &FindingChecks::changed);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    if (m_others) {
        txtRemark = new QLineEdit(this);
        txtRemark->setObjectName(QStringLiteral("txt") + namePart + QStringLiteral("Remark"));
        txtRemark->setAccessibleName(title + QStringLiteral(": what else was found"));
        txtRemark->setPlaceholderText(QStringLiteral("Others: what was found"));
        txtRemark->setEnabled(false);
        connect(m_others, &QCheckBox::toggled, txtRemark, &QWidget::setEnabled);
        connect(txtRemark, &QLineEdit::textEdited, this, &FindingChecks::changed);
        layout->addWidget(txtRemark);
    }
    lblUncoded = new QLabel(this);
    lblUncoded->setObjectName(QStringLiteral("lbl") + namePart + QStringLiteral("Uncoded"));
    lblUncoded->setWordWrap(true);
    lblUncoded->setTextFormat(Qt::PlainText);
    lblUncoded->hide();
    layout->addWidget(lblUncoded);
}

QCheckBox* FindingChecks::box(const QString& id) const
{
    for (QCheckBox* box : m_boxes) {
        if (box->property(kIdProperty).toString() == id)
            return box;
    }
    return nullptr;
}

QList<QWidget*> FindingChecks::controls() const
{
    QList<QWidget*> controls(m_boxes.begin(), m_boxes.end());
    if (txtRemark)
        controls << txtRemark;
    return controls;
}

void FindingChecks::normalToggled(bool on)
{
    // "Essentially normal" excludes every other finding of its system.
    for (QCheckBox* box : m_boxes) {
        if (box == m_normal)
            continue;
        if (on)
            box->setChecked(false);
        box->setEnabled(!on);
    }
    if (txtRemark)
        txtRemark->setEnabled(!on && m_others->isChecked());
}

void FindingChecks::setChosen(const RecordedFindings& recorded)
{
    // As recorded, even "Essentially normal" beside another finding: the clerk sees
    // the records as they are and corrects them.
    for (QCheckBox* box : m_boxes) {
        const QSignalBlocker quiet(box);
        const QString id = box->property(kIdProperty).toString();
        box->setChecked(std::any_of(recorded.chosen.begin(), recorded.chosen.end(),
                                    [&](const ChosenFinding& c) { return c.id == id; }));
    }
    if (txtRemark) {
        txtRemark->clear();
        for (const ChosenFinding& finding : recorded.chosen) {
            if (finding.id == QLatin1String(ecf4::kOthersId))
                txtRemark->setText(finding.remark);
        }
    }
    // Records with a finding beside "Essentially normal" are shown as they are,
    // every box enabled, for the clerk to correct.
    const bool normalAlone = m_normal && m_normal->isChecked() && recorded.chosen.size() == 1;
    for (QCheckBox* box : m_boxes) {
        if (box != m_normal)
            box->setEnabled(!normalAlone);
    }
    if (txtRemark)
        txtRemark->setEnabled(m_others->isChecked() && !normalAlone);
    lblUncoded->setVisible(!recorded.uncoded.isEmpty());
    lblUncoded->setText(recorded.uncoded.isEmpty()
                            ? QString()
                            : QStringLiteral("Also recorded, without a PhilHealth code (kept as it is; code it under "
                                             "PhilHealth Codes): ")
                                  + recorded.uncoded.join(QStringLiteral("; ")));
}

QList<ChosenFinding> FindingChecks::chosen() const
{
    QList<ChosenFinding> chosen;
    for (QCheckBox* box : m_boxes) {
        if (!box->isChecked())
            continue;
        ChosenFinding finding{box->property(kIdProperty).toString(), QString()};
        if (box == m_others && txtRemark)
            finding.remark = txtRemark->text().simplified();
        chosen << finding;
    }
    return chosen;
}

QString FindingChecks::problem() const
{
    const QList<ChosenFinding> findings = chosen();
    if (m_normal && m_normal->isChecked() && findings.size() > 1)
        return QStringLiteral("%1: \"Essentially normal\" excludes every other finding; clear the others or it.")
            .arg(m_title);
    if (m_others && m_others->isChecked() && txtRemark && isEmptyRemark(txtRemark->text()))
        return QStringLiteral("%1: with \"Others\", type what was found (not none, NA, N/A or not applicable).")
            .arg(m_title);
    return QString();
}

QWidget* FindingChecks::problemField() const
{
    if (m_normal && m_normal->isChecked() && chosen().size() > 1)
        return m_normal;
    return txtRemark ? static_cast<QWidget*>(txtRemark) : m_boxes.value(0);
}

} // namespace vantik
