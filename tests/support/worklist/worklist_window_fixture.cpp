#include "support/worklist/worklist_window_fixture.h"

namespace vantik::test {

bool WorklistWindowTest::start(const QString& databaseFolder)
{
    window = std::make_unique<FrmClaimWorklist>(
        WorklistServices{registry, settings, messages, *yieldPoint, clock, QStringLiteral("/opt/vantik/bin")});
    registry.registerFactory(kCurrentUserProgId, [this, databaseFolder] {
        auto made = std::make_unique<FakeCurrentUser>();
        made->databaseFolder = databaseFolder;
        user = made.get();
        return made;
    });
    return window->load();
}

QString WorklistWindowTest::stored(const QString& key) const
{
    return settings.read("VANTIK", "CF4", key, "<absent>");
}

void WorklistWindowTest::store(const QString& key, const QString& value)
{
    settings.write("VANTIK", "CF4", key, value);
}

} // namespace vantik::test
