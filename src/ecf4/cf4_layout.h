#pragma once

#include <span>
#include <string_view>

namespace vantik::ecf4 {

/// An element of PhilHealth's CF4 document that carries attributes, with every
/// attribute its DTD declares, in the DTD's order. All of them are required, so a
/// document writes each one, empty where the CF4 has nothing to say.
struct ElementLayout {
    const char* name;
    std::span<const char* const> attributes;
};

/// The 38 elements with attributes (449 attributes in all).
std::span<const ElementLayout> cf4Layout();
/// The layout of the named element; throws std::logic_error for a name the DTD lacks.
const ElementLayout& elementLayout(std::string_view name);

} // namespace vantik::ecf4
