#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace vantik::test {

TempDir::TempDir()
{
    EXPECT_TRUE(m_dir.isValid()) << "cannot create a temporary folder";
}

} // namespace vantik::test
