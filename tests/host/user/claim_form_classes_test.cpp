#include "host/claimforms/builtin_claim_form_classes.h"
#include "host/component_error.h"
#include "host/data/settings_store.h"
#include "host/data/connection.h"
#include "host/ui/flex_grid.h"
#include "host/user/current_user.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace vantik;

namespace {

// A logged-in (or not) user without the dialog.
class FakeUser final : public CurrentUser {
public:
    void PasswordDeptCode(const QString&) override {}
    void setexepath(const QString&) override {}
    void ShowMain() override {}
    bool Connected() const override { return connected; }
    Connection& sqlconnection() override { throw ComponentError("no connection in this test"); }
    void addlog(const QString&, bool) override {}
    ClaimFormClasses& VODURIZevevar() override { throw ComponentError("not here"); }
    bool connected = true;
};

class RowColours final : public FlexGrid {
public:
    int rowCount() const override { return 3; }
    int columnCount() const override { return 2; }
    QString text(int, int) const override { return {}; }
    void setText(int, int, const QString&) override {}
    int columnWidth(int) const override { return 0; }
    void setColumnWidth(int, int) override {}
    int currentRow() const override { return 0; }
    int currentColumn() const override { return 0; }
    void setCurrent(int, int) override {}
    void setCellBackground(OleColor) override {}
    OleColor background(int row, int) const override { return rows.count(row) ? rows.at(row) : kOleWhite; }
    void setRowBackground(int row, OleColor color) override { rows[row] = color; }
    void appendRow(const QString&) override {}
    void bind(ResultSet) override {}
    void reset(int, int) override {}
    bool isGridEnabled() const override { return true; }
    void setGridEnabled(bool) override {}
    std::map<int, OleColor> rows;
};

QString errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const ComponentError& error) {
        return error.description();
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(ClaimFormClasses, NothingWorksBeforeItIsEnabledAndStarted)
{
    FakeUser user;
    BuiltinClaimFormClasses library(user);
    EXPECT_TRUE(errorOf([&] { library.clsCF4(); }).contains("not been enabled (UseClasses)"));
    EXPECT_TRUE(errorOf([&] { library.InitWithDB(); }).contains("not been enabled (UseClasses)"));
    library.UseClasses(true);
    EXPECT_TRUE(errorOf([&] { library.clsCF4(); }).contains("not been started (InitWithDB)"));
    RowColours grid;
    EXPECT_TRUE(errorOf([&] { library.PrintGrid("Worklist", grid); }).contains("cannot print a grid: it has not been"));

    user.connected = false;
    EXPECT_TRUE(errorOf([&] { library.InitWithDB(); }).contains("not logged in"));
    EXPECT_FALSE(library.initialized());
    user.connected = true;
    library.InitWithDB();
    EXPECT_TRUE(library.initialized());
    EXPECT_NE(library.clsCF4(), nullptr);

    library.UseClasses(false);
    EXPECT_TRUE(errorOf([&] { library.clsCF4(); }).contains("not been enabled"));
}

TEST(ClaimFormClasses, FormsKeepTheirPropertiesAndPaintRows)
{
    FakeUser user;
    BuiltinClaimFormClasses library(user);
    library.UseClasses(true);
    library.InitWithDB();
    const auto form = library.clsCF4();
    form->IDNUM("12345b");
    form->StationID("ST02");
    form->Title("CF4 of DELA CRUZ, JUAN");
    form->nonmodal(true);
    form->Addonly(true);
    EXPECT_EQ(form->IDNUM(), "12345b");
    EXPECT_EQ(form->StationID(), "ST02");
    EXPECT_EQ(form->Title(), "CF4 of DELA CRUZ, JUAN");
    EXPECT_TRUE(form->nonmodal());
    EXPECT_TRUE(form->Addonly());
    const auto other = library.clsCF4();
    EXPECT_NE(other, form);
    EXPECT_TRUE(other->IDNUM().isEmpty());
    EXPECT_FALSE(other->nonmodal());

    RowColours grid;
    form->SetRowColor(grid, 2, kOleYellow);
    EXPECT_EQ(grid.background(2, 0), kOleYellow);
    EXPECT_EQ(grid.background(1, 0), kOleWhite);
    form->UnloadForm(); // nothing open: nothing to do, no error
}
