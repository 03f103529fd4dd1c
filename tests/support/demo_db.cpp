#include "support/demo_db.h"

#include "host/demodata/demo_generator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vantik::test {

QString sharedDemoDb()
{
    static QTemporaryDir folder;
    static const bool made = [] {
        DemoDbOptions options;
        options.outDir = folder.path().toStdString();
        options.admissions = 300;
        generateDemoDatabases(options);
        return true;
    }();
    (void)made;
    return folder.path();
}

QString copyOfDemoDb(const QString& folder)
{
    const QDir source(sharedDemoDb());
    for (const QString& name : source.entryList({QStringLiteral("*.sqlite")}, QDir::Files)) {
        QFile::remove(QDir(folder).filePath(name));
        EXPECT_TRUE(QFile::copy(source.filePath(name), QDir(folder).filePath(name))) << name.toStdString();
    }
    return folder;
}

} // namespace vantik::test
