#include "host/demodata/demo_folder.h"

#include <algorithm>
#include <cstdlib>

namespace vantik {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

} // namespace

std::string defaultDemoFolder()
{
#ifdef _WIN32
    // Qt's GenericDataLocation on Windows, where the user logs are.
    std::string base = environment("LOCALAPPDATA");
    if (base.empty())
        return {};
    std::replace(base.begin(), base.end(), '\\', '/');
#else
    // As the XDG rules and Qt's GenericDataLocation read them (the user logs are
    // found that way): a relative XDG_DATA_HOME is ignored.
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/') {
        const std::string home = environment("HOME");
        if (home.empty())
            return {};
        base = home + "/.local/share";
    }
#endif
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/vantik/demo-db";
}

} // namespace vantik
