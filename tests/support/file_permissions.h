#pragma once

#include <cstdint>

namespace vantik::test {

/// While it lives, the calling thread is held to file permissions as any user
/// is: the superuser's power to read and write past them is set aside, and given
/// back at the end. The tests of read-only folders need it when they run as root;
/// for any other user it changes nothing.
class FilePermissionsHeld {
public:
    FilePermissionsHeld();
    ~FilePermissionsHeld();
    FilePermissionsHeld(const FilePermissionsHeld&) = delete;
    FilePermissionsHeld& operator=(const FilePermissionsHeld&) = delete;

private:
    std::uint32_t m_effective[2]{};
    bool m_changed = false;
};

} // namespace vantik::test
