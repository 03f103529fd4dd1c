#include "support/file_permissions.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

namespace vantik::test {

namespace {

struct Capabilities {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
};

Capabilities current()
{
    Capabilities caps;
    if (syscall(SYS_capget, &caps.header, caps.data) != 0)
        throw std::runtime_error("capget failed");
    return caps;
}

void apply(Capabilities& caps)
{
    if (syscall(SYS_capset, &caps.header, caps.data) != 0)
        throw std::runtime_error("capset failed");
}

constexpr std::uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

} // namespace

FilePermissionsHeld::FilePermissionsHeld()
{
    Capabilities caps = current();
    m_effective[0] = caps.data[0].effective;
    m_effective[1] = caps.data[1].effective;
    if ((caps.data[0].effective & kOverrides) == 0)
        return;
    caps.data[0].effective &= ~kOverrides;
    apply(caps);
    m_changed = true;
}

FilePermissionsHeld::~FilePermissionsHeld()
{
    if (!m_changed)
        return;
    try {
        Capabilities caps = current();
        caps.data[0].effective = m_effective[0];
        caps.data[1].effective = m_effective[1];
        apply(caps);
    } catch (const std::exception&) {
        // Still in the permitted set: nothing was given up for good.
    }
}

} // namespace vantik::test
