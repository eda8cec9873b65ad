// The folder the file manager opens at start: never the process's working folder.
#include "app/StartFolder.h"
#include "support/TempHome.h"

#include <QDir>

namespace {

class StartFolderTest : public TempHomeTest {};

TEST_F(StartFolderTest, FromTheStoredItemThenTheStoredFolderThenHome)
{
    const QString docs = makeFolder(QStringLiteral("docs/sub"));
    const QString file = makeFile(QStringLiteral("docs/sub/letter.txt"), "x");
    const QString root = home().root();
    struct Case {
        const char* what;
        QString item;
        QString path;
        QString expected;
    };
    const Case cases[] = {
        {"item is a folder", docs, root, docs},
        {"item is a folder with a slash", docs + QLatin1Char('/'), QString(), docs},
        {"item is a file", file, root, docs},
        {"item is a subfolder selected in the stored folder", docs, root + QStringLiteral("/docs/"), root + QStringLiteral("/docs")},
        {"item is a file of the stored folder", file, docs + QLatin1Char('/'), docs},
        {"item gone, stored folder exists", root + QStringLiteral("/gone.txt"), docs + QLatin1Char('/'), docs},
        {"item and folder gone", root + QStringLiteral("/gone.txt"), docs + QStringLiteral("/old/deeper/"), docs},
        {"nothing stored", QString(), QString(), QDir::homePath()},
        {"relative names say nothing", QStringLiteral("letter.txt"), QStringLiteral("docs"), QDir::homePath()},
    };
    // The working folder is somewhere else entirely and must not matter.
    const QString oldCurrent = QDir::currentPath();
    QDir::setCurrent(docs);
    for (const Case& c : cases)
        EXPECT_EQ(StartFolder::resolve(c.item, c.path), c.expected) << c.what;
    QDir::setCurrent(oldCurrent);
}

} // namespace
