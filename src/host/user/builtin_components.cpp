#include "host/user/builtin_components.h"

#include "host/user/builtin_current_user.h"
#include "host/user/component_registry.h"

namespace vantik {

void registerBuiltinComponents(ComponentRegistry& registry, SettingsStore& settings)
{
    registry.registerFactory(QString::fromLatin1(kCurrentUserProgId),
                             [&settings]() -> std::unique_ptr<CurrentUser> {
                                 return std::make_unique<BuiltinCurrentUser>(settings);
                             });
}

} // namespace vantik
