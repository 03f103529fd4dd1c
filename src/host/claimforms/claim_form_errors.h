#pragma once

#include "host/component_error.h"

namespace vantik {

/// The error of a claim-form action this version does not carry out yet; action
/// reads after "cannot", e.g. "print a grid".
ComponentError notYetAvailable(const QString& action);

} // namespace vantik
