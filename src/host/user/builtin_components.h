#pragma once

namespace vantik {

class ComponentRegistry;
class SettingsStore;

/// Registers the program's own host components (the current-user component under
/// kCurrentUserProgId). The settings store must outlive every component created.
void registerBuiltinComponents(ComponentRegistry& registry, SettingsStore& settings);

} // namespace vantik
