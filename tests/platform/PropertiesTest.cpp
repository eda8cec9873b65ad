// File properties and the properties window: what is read, the folder total, and changing
// permissions through the window.
#include "platform/FileName.h"
#include "platform/FileProperties.h"
#include "platform/ui/DesktopWindows.h"
#include "platform/ui/PropertiesDialog.h"

#include "support/FakeLauncher.h"
#include "support/TempHome.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class PropertiesTest : public TempHomeTest {};

TEST_F(PropertiesTest, ReadsFilesLinksAndMissingPaths)
{
    const QString file = makeFile(QStringLiteral("docs/report.txt"), QByteArray(1234, 'x'));
    ::chmod(QFile::encodeName(file).constData(), 0640);
    const auto p = FileProperties::read(file);
    ASSERT_TRUE(p.ok()) << qPrintable(p.errorString());
    EXPECT_EQ(p->name, QStringLiteral("report.txt"));
    EXPECT_EQ(p->typeName, QStringLiteral("Plain text document"));
    EXPECT_EQ(p->location, QFileInfo(file).path());
    EXPECT_EQ(p->size, 1234);
    EXPECT_EQ(p->permissions, 0640u);
    EXPECT_EQ(FileProperties::permissionText(p->permissions), QStringLiteral("rw-r-----"));
    EXPECT_TRUE(p->canChangePermissions);
    EXPECT_LE(qAbs(p->modified.secsTo(QDateTime::currentDateTime())), 60);

    QFile::link(file, home().root() + QStringLiteral("/link"));
    const auto link = FileProperties::read(home().root() + QStringLiteral("/link"));
    ASSERT_TRUE(link.ok());
    EXPECT_EQ(link->linkTarget, file);
    EXPECT_FALSE(link->canChangePermissions);

    const auto none = FileProperties::read(home().root() + QStringLiteral("/none"));
    EXPECT_FALSE(none.ok());
    EXPECT_EQ(none.errorString(), QStringLiteral("The specified file was not found."));
    EXPECT_EQ(ShowProperties(home().root() + QStringLiteral("/none")), QStringLiteral("The specified file was not found."));
}

TEST_F(PropertiesTest, FolderTotalCountsFilesOnceAndFollowsNoLinks)
{
    makeFile(QStringLiteral("tree/a.bin"), QByteArray(1000, 'a'));
    makeFile(QStringLiteral("tree/sub/b.bin"), QByteArray(24, 'b'));
    makeFile(QStringLiteral("tree/sub/deeper/c.bin"), QByteArray());
    makeFile(QStringLiteral("outside/huge.bin"), QByteArray(50000, 'h'));
    QFile::link(home().root() + QStringLiteral("/outside"), home().root() + QStringLiteral("/tree/sub/to-outside"));
    const FileProperties::Total total = FileProperties::folderTotal(home().root() + QStringLiteral("/tree"), nullptr);
    EXPECT_EQ(total.bytes, 1024);
    EXPECT_EQ(total.files, 4); // the link counts as an item of its own
    EXPECT_EQ(total.folders, 2);
    EXPECT_TRUE(total.complete);

    const std::atomic<bool> stop{true};
    EXPECT_FALSE(FileProperties::folderTotal(home().root() + QStringLiteral("/tree"), &stop).complete);
}

TEST_F(PropertiesTest, WindowShowsTheTotalAndAppliesPermissions)
{
    const QString folder = makeFolder(QStringLiteral("shared"));
    makeFile(QStringLiteral("shared/x"), QByteArray(2048, 'x'));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ASSERT_EQ(ShowProperties(folder), QString());
    PropertiesDialog* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        dialog = dialog ? dialog : qobject_cast<PropertiesDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    auto* size = dialog->findChild<QLabel*>(QStringLiteral("LabelSize"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return size->text().contains(QStringLiteral("1 files")); }, 5000)) << qPrintable(size->text());
    EXPECT_TRUE(size->text().contains(QStringLiteral("(2,048 bytes)")) || size->text().contains(QStringLiteral("(2048 bytes)")))
        << qPrintable(size->text());

    dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxOthersRead"))->setChecked(false);
    dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxGroupWrite"))->setChecked(true);
    dialog->accept();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0771u);
    QApplication::processEvents();
}

// A folder whose name is not UTF-8: read, totalled and changed by its bytes, shown with the
// replacement mark; a link's target keeps its bytes.
TEST_F(PropertiesTest, ANameThatIsNotUtf8IsReadShownAndChanged)
{
    const QString folder = makeFolder(QStringLiteral("odd")) + QLatin1Char('/') + FileName::decode("d\xe9");
    const QByteArray native = FileName::encode(folder);
    ASSERT_EQ(::mkdir(native.constData(), 0755), 0);
    ASSERT_GE(::close(::open(QByteArray(native + "/inner\xff").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644)), 0);
    ASSERT_EQ(::symlink(QByteArray(native + "/inner\xff").constData(), QByteArray(native + "/link").constData()), 0);

    const auto link = FileProperties::read(folder + QStringLiteral("/link"));
    ASSERT_TRUE(link.ok()) << qPrintable(link.errorString());
    EXPECT_EQ(FileName::encode(link->linkTarget), native + "/inner\xff");

    ASSERT_EQ(ShowProperties(folder), QString());
    PropertiesDialog* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !dialog)
            dialog = qobject_cast<PropertiesDialog*>(w);
    }
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("d\uFFFD Properties"));
    EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("LabelName"))->text(), QStringLiteral("d\uFFFD"));
    auto* size = dialog->findChild<QLabel*>(QStringLiteral("LabelSize"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return size->text().contains(QStringLiteral("2 files")); }, 5000)) << qPrintable(size->text());
    dialog->findChild<QCheckBox*>(QStringLiteral("CheckBoxOthersRead"))->setChecked(false);
    dialog->accept();
    struct stat st {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    QApplication::processEvents();
}

TEST_F(PropertiesTest, MinimizeAllFallsBackToOwnWindowsWithoutAWindowManagerRequest)
{
    FakeLauncher launcher; // no wmctrl; offscreen has no KWin either
    QWidget window;
    window.show();
    EXPECT_EQ(MinimizeAll(), MinimizeOutcome::OwnWindowsOnly);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(launcher.launches().isEmpty());
}

} // namespace
