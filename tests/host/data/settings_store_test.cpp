#include "host/data/settings_store.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace vantik;

TEST(SettingsStore, ValuesPersistBySectionAndKey)
{
    test::TempDir dir;
    {
        SettingsStore store(dir.path());
        EXPECT_EQ(store.read("VANTIK", "CF4", "txtStartDate", "01/01/2024"), "01/01/2024");
        store.write("VANTIK", "CF4", "txtStartDate", "12/01/2026");
        store.write("VANTIK", "CF4", "chkChemo", "1");
        store.write("VANTIK", "Other", "chkChemo", "0");
        store.write("Another", "CF4", "chkChemo", "x");
    }
    SettingsStore reopened(dir.path());
    EXPECT_EQ(reopened.read("VANTIK", "CF4", "txtStartDate"), "12/01/2026");
    EXPECT_EQ(reopened.read("VANTIK", "CF4", "chkChemo"), "1");
    EXPECT_EQ(reopened.read("VANTIK", "Other", "chkChemo"), "0");
    EXPECT_EQ(reopened.read("Another", "CF4", "chkChemo"), "x");
    // Texts keep blanks, slashes and an empty value.
    reopened.write("VANTIK", "CF4", "txtEndDate", " 1/2/2024 ");
    reopened.write("VANTIK", "CF4", "txtStartDate", "");
    EXPECT_EQ(reopened.read("VANTIK", "CF4", "txtEndDate"), " 1/2/2024 ");
    EXPECT_EQ(reopened.read("VANTIK", "CF4", "txtStartDate", "default"), "");
}

TEST(SettingsStore, UserStoreLivesUnderTheConfigurationFolder)
{
    // The test main points XDG_CONFIG_HOME at a temporary folder.
    SettingsStore store;
    store.write("VANTIK", "CF4", "optPatType", "1");
    EXPECT_EQ(SettingsStore().read("VANTIK", "CF4", "optPatType"), "1");
}
