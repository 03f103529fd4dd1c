#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace vantik {

class CurrentUser;

/// Host components by ProgID. The program registers the built-in ones; tests
/// register fakes under the same names.
class ComponentRegistry {
public:
    using Factory = std::function<std::unique_ptr<CurrentUser>()>;

    void registerFactory(const QString& progId, Factory factory);
    /// Throws ComponentError when nothing is registered under the ProgID.
    std::unique_ptr<CurrentUser> create(const QString& progId) const;

private:
    std::map<QString, Factory> m_factories;
};

inline constexpr const char* kCurrentUserProgId = "Zuvozu_Zavo.clsCurrentUser";

} // namespace vantik
