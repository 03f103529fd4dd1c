#pragma once

#include <string>

namespace vantik {

/// The first line of standard input without its line end, as UTF-8. When standard
/// input is a terminal (a console on Windows) the prompt goes to standard error
/// first and what is typed does not show. Plain C++, so that the Windows branch is
/// compiled by the MinGW-w64 check too.
std::string readHiddenLine(const char* prompt);

} // namespace vantik
