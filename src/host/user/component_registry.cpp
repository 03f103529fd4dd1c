#include "host/user/component_registry.h"

#include "host/component_error.h"
#include "host/user/current_user.h"

namespace vantik {

void ComponentRegistry::registerFactory(const QString& progId, Factory factory)
{
    m_factories[progId.toLower()] = std::move(factory);
}

std::unique_ptr<CurrentUser> ComponentRegistry::create(const QString& progId) const
{
    // ProgIDs are looked up without regard to letter case, as the host does.
    const auto found = m_factories.find(progId.toLower());
    if (found == m_factories.end())
        throw ComponentError(QStringLiteral("Cannot create the component \"%1\": it is not installed.").arg(progId));
    auto component = found->second();
    if (!component)
        throw ComponentError(QStringLiteral("The component \"%1\" could not be created.").arg(progId));
    return component;
}

} // namespace vantik
