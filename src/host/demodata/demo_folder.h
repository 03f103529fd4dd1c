#pragma once

#include <string>

namespace vantik {

/// The clerk's own demo database folder: vantik/demo-db in the user's data folder
/// ($XDG_DATA_HOME, else ~/.local/share; %LOCALAPPDATA% on Windows), beside the
/// user logs. `vantik-demo-db` writes there when given no folder, and an installed
/// program offers it at log-in, since the program's own folder is the system's.
/// Empty when no variable names a folder.
std::string defaultDemoFolder();

} // namespace vantik
