#pragma once

#include "ecf4/cf4_form.h"

#include <QStringList>

namespace vantik::ecf4 {

/// What keeps a CF4 from being sent (problems) and what goes with it but deserves
/// a look (warnings), each in words a claims clerk understands, e.g.
/// "Physical exam, HEENT: no finding recorded" or "Patient PIN: missing".
struct Findings {
    QStringList problems;
    QStringList warnings;
};

/// PhilHealth's rules for a complete CF4 that its DTD does not enforce: required
/// items, lengths, formats, active library IDs, "Essentially normal" alone in its
/// system, "Others" with a remark, pain site and other complaint, the menstrual
/// and pregnancy history when it applies, and no value that is too long or holds a
/// character a CF4 cannot carry. Nothing is ever shortened or left out to pass:
/// such a value is refused and named.
Findings checkForm(const Cf4Form& form);

/// What is wrong with the shape of a drug code a clerk types, in words for the
/// clerk; empty when it is well formed: 30 letters and digits, and six parts of 5
/// (generic, salt, strength, form, unit, package), copied from one row of
/// PhilHealth's medicine library, whose order the program cannot check.
QString drugCodeShapeProblem(const QString& code, const std::array<QString, 6>& parts);

/// Lengths count the bytes of the value in UTF-8, so "ñ" counts two: the stricter
/// reading of PhilHealth's VARCHAR2 lengths.
int cf4Length(const QString& value);

/// The first character that XML cannot carry at all (C0 controls other than tab,
/// line feed and carriage return, U+FFFE, U+FFFF, a lone surrogate); -1 when none.
qsizetype forbiddenCharacterAt(const QString& value);

} // namespace vantik::ecf4
