#pragma once

#include "ecf4/cf4_libraries.h"
#include "host/claimforms/cf4_conditions.h"

#include <QGroupBox>
#include <QList>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace vantik {

/// The active entries of one of PhilHealth's libraries as check boxes: a row of
/// the physical examination (with "Essentially normal" clearing and disabling the
/// others, and "Others" with its remark) or the signs and symptoms.
class FindingChecks : public QGroupBox {
    Q_OBJECT
public:
    /// namePart makes the control names: "Heent" gives chkHeent16, txtHeentRemark.
    FindingChecks(ecf4::Library library, const QString& title, const QString& namePart, int columns,
                  QWidget* parent = nullptr);

    ecf4::Library library() const { return m_library; }
    /// The box of an entry; nullptr for an entry that is not active.
    QCheckBox* box(const QString& id) const;
    /// "Others" with what was found; nullptr for a library without "Others".
    QLineEdit* txtRemark = nullptr;
    /// The HIS's records the code table does not code: kept as they are.
    QLabel* lblUncoded = nullptr;

    /// The boxes and the remark, in tab order.
    QList<QWidget*> controls() const;

    void setChosen(const RecordedFindings& recorded);
    QList<ChosenFinding> chosen() const;
    /// Empty when the choice may be saved; otherwise what is wrong, naming the row.
    QString problem() const;
    /// The control to put the focus on for problem().
    QWidget* problemField() const;

signals:
    void changed();

private:
    void normalToggled(bool on);

    ecf4::Library m_library;
    QString m_title;
    QList<QCheckBox*> m_boxes;
    QCheckBox* m_normal = nullptr;
    QCheckBox* m_others = nullptr;
};

} // namespace vantik
