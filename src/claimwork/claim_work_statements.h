#pragma once

#include "host/ui/flex_grid.h"

#include <QString>

namespace vantik::claimwork {

/// Out-patient visit identifiers carry a capital B; every other one is an admission.
bool isOutPatientId(const QString& idNum);

/// Height and weight of an admission or visit, from the history table of its kind.
QString heightWeightStatement(const QString& idNum);

/// The colour of the height/weight check: yellow without a history record, red
/// when height or weight is blank in the first one, green when both are there.
OleColor heightWeightColor(bool recordFound, const QString& height, const QString& weight);

/// The number of ward course notes of an admission.
QString courseCountStatement(const QString& idNum);

/// The GU examination entries of an admission (updatable: one table, all columns).
QString guEntryStatement(const QString& idNum);

/// The two GU markings of the Batch Tools menu.
enum class GuMarking : int { NotApplicable = 1, NotAssessed = 2 };

/// Whether a listed row gets the marking: male rows for "not applicable", female
/// chemotherapy or haemodialysis rows for "not assessed". The cells are compared
/// exactly as the grid shows them.
bool qualifiesForGuMarking(GuMarking marking, const QString& sex, const QString& isChemo,
                           const QString& isHemoDialysis);

/// The remark a marking writes.
QString guRemark(GuMarking marking);

} // namespace vantik::claimwork
