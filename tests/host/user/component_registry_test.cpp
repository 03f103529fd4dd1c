#include "host/component_error.h"
#include "host/user/component_registry.h"
#include "host/user/current_user.h"

#include <gtest/gtest.h>

namespace vantik {
namespace {

class NullUser : public CurrentUser {
public:
    void PasswordDeptCode(const QString&) override {}
    void setexepath(const QString&) override {}
    void ShowMain() override {}
    bool Connected() const override { return false; }
    Connection& sqlconnection() override { throw ComponentError("none"); }
    void addlog(const QString&, bool) override {}
    ClaimFormClasses& VODURIZevevar() override { throw ComponentError("none"); }
};

TEST(ComponentRegistry, CreatesByProgIdInAnyLetterCaseAndNamesWhatIsMissing)
{
    ComponentRegistry registry;
    int made = 0;
    registry.registerFactory(kCurrentUserProgId, [&made] {
        ++made;
        return std::make_unique<NullUser>();
    });
    EXPECT_NE(registry.create("zuvozu_zavo.CLSCURRENTUSER"), nullptr);
    EXPECT_NE(registry.create(kCurrentUserProgId), nullptr);
    EXPECT_EQ(made, 2);

    try {
        registry.create("Other.clsThing");
        FAIL();
    } catch (const ComponentError& error) {
        EXPECT_NE(error.description().indexOf("Other.clsThing"), -1);
    }

    registry.registerFactory("Broken.clsThing", [] { return std::unique_ptr<CurrentUser>(); });
    EXPECT_THROW(registry.create("Broken.clsThing"), ComponentError);
}

} // namespace
} // namespace vantik
