#include "host/demodata/demo_folder.h"

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
    // As the XDG rules and Qt's GenericDataLocation read them (the user logs are
    // found that way): a relative XDG_DATA_HOME is ignored.
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/') {
        const std::string home = environment("HOME");
        if (home.empty())
            return {};
        base = home + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/vantik/demo-db";
}

} // namespace vantik
