// The options dialog on a small host: every page's settings applied as they should be
// (on click or on close, never cancelled), the corrected editor fields as they land in the
// settings file, the Lists Editor and the Download button against a local server.
#include "internet/RipServer.h"

#include "app/DesktopPanels.h"
#include "app/OptionsRules.h"
#include "app/SettingsStore.h"
#include "app/TOptionDlg.h"
#include "platform/JobWaiter.h"
#include "platform/Registry.h"
#include "platform/Trash.h"
#include "support/RootOnlyDrives.h"
#include "support/FakeOptionsHost.h"
#include "support/TempHome.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include <thread>

namespace {

class OptionsDialogTest : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_host.m_file = home().configHome() + QStringLiteral("/registry.txt");
        m_host.folder = makeFolder(QStringLiteral("tree"));
    }
    template <typename Control>
    static Control* child(TOptionDlg& dialog, const char* name)
    {
        auto* control = dialog.findChild<Control*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    // The integer value as the settings store writes it.
    qint32 storedInteger(const QString& subkey, const QString& name)
    {
        SettingsStore store(m_host.m_file);
        EXPECT_TRUE(store.save(m_host.m_settings));
        Registry registry(m_host.m_file);
        EXPECT_TRUE(registry.load());
        EXPECT_TRUE(registry.openKey(SettingsStore::subkeyPath(subkey), false));
        return registry.readInteger(name).value_or(-1);
    }

    FakeOptionsHost m_host;
};

} // namespace

TEST_F(OptionsDialogTest, TabSizeAndWrapColumnAreCorrectedInTheSettingsFile)
{
    struct Case {
        const char* field;
        qint32 tabSize;
        qint32 wrapColumn;
    };
    const Case cases[] = {{"256", 8, 256}, {"0", 8, 80}, {"255", 255, 255}, {"", 8, 80}, {"12", 12, 12}};
    for (const Case& c : cases) {
        TOptionDlg dialog(m_host);
        child<QLineEdit>(dialog, "MaskEditTabsize")->setText(QLatin1String(c.field));
        child<QLineEdit>(dialog, "MaskEditWrapColumn")->setText(QLatin1String(c.field));
        dialog.reject(); // closing any way applies
        EXPECT_EQ(storedInteger(QStringLiteral("Editor"), QStringLiteral("TextEditorTabSize")), c.tabSize) << c.field;
        EXPECT_EQ(storedInteger(QStringLiteral("Editor"), QStringLiteral("TextEditorWrapColumn")), c.wrapColumn) << c.field;
    }
}

// Each check box flips its own setting: those marked click at once, the others on close.
TEST_F(OptionsDialogTest, CheckBoxesSetTheirSettings)
{
    struct Row {
        const char* name;
        bool AppSettings::*member;
        bool atOnce;
    };
    const Row rows[] = {
        {"CheckBoxShowHiddenSystemfiles", &AppSettings::showHiddenSystemfiles, true},
        {"CheckBoxShowDriveTabStatus", &AppSettings::showDrives, true},
        {"CheckBoxShowZipEncryptStatus", &AppSettings::showZipEncryptStatus, true},
        {"CheckBoxOpenByDblClickFV", &AppSettings::openByDblClickFV, false},
        {"CheckBoxAutoSizeColumns", &AppSettings::autosizeColumns, true},
        {"CheckBoxFv2Sounds", &AppSettings::fv3sounds, true},
        {"CheckBoxAutoIndent", &AppSettings::textEditorAutoIndent, false},
        {"CheckBoxMakeBackup", &AppSettings::textEditorMakeBackup, false},
        {"CheckBoxWordwrap", &AppSettings::textEditorWordwrap, false},
        {"CheckBoxFilterHex", &AppSettings::fileViewerFilterChar, false},
        {"CheckBoxUseSmallZipToExe", &AppSettings::useSmallZipToExe, false},
        {"CheckBoxAnimateStartup", &AppSettings::animateStartup, false},
        {"CheckBoxCleanupOnExit", &AppSettings::cleanUpOnExit, true},
    };
    for (const Row& row : rows) {
        const bool before = m_host.m_settings.*row.member;
        TOptionDlg dialog(m_host);
        const int applied = m_host.applied;
        child<QCheckBox>(dialog, row.name)->click();
        EXPECT_EQ(m_host.m_settings.*row.member, row.atOnce ? !before : before) << row.name;
        if (row.atOnce && row.member != &AppSettings::cleanUpOnExit)
            EXPECT_GT(m_host.applied, applied) << row.name;
        dialog.accept();
        EXPECT_EQ(m_host.m_settings.*row.member, !before) << row.name;
    }
    EXPECT_EQ(m_host.refreshed, 1); // the hidden files switch refreshes the panes
}

TEST_F(OptionsDialogTest, ChoicesOfTheOtherPages)
{
    TOptionDlg dialog(m_host);
    // Loop Media and Show Next File exclude each other; both may be off.
    auto* next = child<QCheckBox>(dialog, "CheckBoxShowNextFile");
    auto* loop = child<QCheckBox>(dialog, "CheckBoxLoopMedia");
    ASSERT_TRUE(next->isChecked());
    loop->click();
    EXPECT_FALSE(next->isChecked());
    EXPECT_TRUE(m_host.m_settings.loopMovie);
    EXPECT_FALSE(m_host.m_settings.showNextFile);
    loop->click();
    EXPECT_FALSE(next->isChecked());
    next->click();
    EXPECT_FALSE(loop->isChecked());

    auto* slider = child<QSlider>(dialog, "spinnernextdelay");
    slider->setValue(5000);
    EXPECT_EQ(child<QLabel>(dialog, "LabelSpinDelay")->text(), QStringLiteral("~5.0 seconds"));
    EXPECT_EQ(m_host.m_settings.spinViewDelay, 5000);
    slider->setValue(12700);
    EXPECT_EQ(m_host.m_settings.spinViewDelay, 12500);

    const QList<QRadioButton*> radios = dialog.findChildren<QRadioButton*>();
    auto pick = [&radios](const QString& caption) {
        for (QRadioButton* radio : radios) {
            if (radio->text() == caption)
                radio->click();
        }
    };
    pick(QStringLiteral("Bottom"));
    EXPECT_TRUE(m_host.m_settings.tabBottom);
    pick(QStringLiteral("320x240"));
    EXPECT_EQ(m_host.m_settings.movieRes, 2);
    pick(QStringLiteral("Smart"));
    child<QLineEdit>(dialog, "EditMyBrowserWebStr")->setText(QStringLiteral("https://example.org/"));
    EXPECT_EQ(m_host.m_settings.browserWebStr, QStringLiteral("https://example.org/"));

    // The wrap column shows only while word wrap is ticked.
    auto* wrap = child<QCheckBox>(dialog, "CheckBoxWordwrap");
    dialog.show();
    wrap->setChecked(true);
    EXPECT_FALSE(child<QLineEdit>(dialog, "MaskEditWrapColumn")->isHidden());
    EXPECT_FALSE(child<QLabel>(dialog, "LabelWrapColumn")->isHidden());
    wrap->setChecked(false);
    EXPECT_TRUE(child<QLineEdit>(dialog, "MaskEditWrapColumn")->isHidden());
    dialog.accept();
    EXPECT_EQ(m_host.m_settings.textEditorTabType, 2);
}

TEST_F(OptionsDialogTest, AutoStartFollowsTheEntryOnDisk)
{
    m_host.autoStart = true; // the entry exists though the stored value says off
    {
        TOptionDlg dialog(m_host);
        EXPECT_TRUE(child<QCheckBox>(dialog, "CheckBoxAutoStartFolVane")->isChecked());
        dialog.accept();
    }
    EXPECT_TRUE(m_host.m_settings.autoStartFolVane);
    m_host.autoStartWritable = false;
    TOptionDlg dialog(m_host);
    child<QCheckBox>(dialog, "CheckBoxAutoStartFolVane")->setChecked(false);
    dialog.accept();
    // Not writable: the tick follows what exists, and the user is told.
    EXPECT_TRUE(m_host.m_settings.autoStartFolVane);
    ASSERT_EQ(prompter().records().size(), 1);
    EXPECT_TRUE(prompter().last().text.contains(QStringLiteral("autostart folder cannot be written")));
    // Closing with the tick unchanged writes nothing and asks nothing.
    prompter().clear();
    TOptionDlg again(m_host);
    again.accept();
    EXPECT_TRUE(prompter().records().isEmpty());
}

TEST_F(OptionsDialogTest, ListsEditor)
{
    Registry seed(m_host.m_file);
    ASSERT_TRUE(seed.load());
    ASSERT_TRUE(seed.openKey(QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\MRUFind"), true));
    seed.writeString(QStringLiteral("MRUFind0"), QStringLiteral("alpha"));
    seed.writeString(QStringLiteral("MRUFind1"), QStringLiteral("beta"));
    seed.writeString(QStringLiteral("MRUFind3"), QStringLiteral("after a gap"));
    ASSERT_TRUE(seed.save());

    TOptionDlg dialog(m_host);
    auto* lists = child<QComboBox>(dialog, "ComboBox1");
    auto* memo = child<QPlainTextEdit>(dialog, "Memo2");
    ASSERT_EQ(lists->count(), 7);
    EXPECT_EQ(lists->itemText(1), QStringLiteral("Paths (file manager) "));

    lists->setCurrentIndex(3);
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("alpha\nbeta")); // reading stops at the gap
    memo->setPlainText(QString());
    child<QPushButton>(dialog, "ButtonSaveListEditor")->click();
    EXPECT_TRUE(OptionsRules::loadList(m_host.m_file, 3).isEmpty());
    Registry after(m_host.m_file);
    ASSERT_TRUE(after.load());
    ASSERT_TRUE(after.openKey(QStringLiteral("Software\\QuorVel\\Folvane3\\Settings\\MRUFind"), false));
    EXPECT_TRUE(after.valueNames().isEmpty()); // the value past the gap is gone too

    lists->setCurrentIndex(0);
    memo->setPlainText(QStringLiteral("*.txt\n*.TXT\n*.c"));
    child<QPushButton>(dialog, "ButtonSaveListEditor")->click();
    EXPECT_EQ(OptionsRules::loadList(m_host.m_file, 0), QStringList({"*.c", "*.txt"}));
    EXPECT_EQ(m_host.m_settings.masks, QStringList({"*.c", "*.txt"}));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("*.c\n*.txt"));

    lists->setCurrentIndex(1);
    memo->setPlainText(QStringLiteral("/b\n/a"));
    child<QPushButton>(dialog, "ButtonSaveListEditor")->click();
    EXPECT_EQ(m_host.m_settings.mruPaths, QStringList({"/b", "/a"}));
    EXPECT_EQ(OptionsRules::loadList(m_host.m_file, 1), QStringList({"/b", "/a"}));
}

TEST_F(OptionsDialogTest, DownloadToTheTreeFolder)
{
    const QString served = makeFolder(QStringLiteral("served"));
    makeFile(QStringLiteral("served/a.bin"), QByteArray(2000, 'x'));
    RipServer server(served);
    ASSERT_TRUE(server.isRunning());
    TOptionDlg dialog(m_host);
    auto* address = child<QLineEdit>(dialog, "Edit1");
    QSignalSpy finished(&dialog, &TOptionDlg::downloadFinished);
    const struct {
        QString url;
        bool ok;
    } cases[] = {
        {server.url(QStringLiteral("files"), QStringLiteral("a.bin")), true},
        {server.url(QStringLiteral("files"), QStringLiteral("a.bin")), true},
        {server.url(QStringLiteral("files"), QStringLiteral("missing.bin")), false},
        {server.url(QStringLiteral("files"), QString()), false},
        {server.url(QStringLiteral("files"), QStringLiteral("..")), false},
    };
    for (const auto& c : cases) {
        prompter().clear();
        address->setText(c.url);
        child<QPushButton>(dialog, "Button3")->click();
        ASSERT_TRUE(finished.wait(20000)) << c.url.toStdString();
        EXPECT_EQ(finished.takeFirst().at(0).toBool(), c.ok) << c.url.toStdString();
        EXPECT_EQ(prompter().texts(), c.ok ? QStringList() : QStringList{QStringLiteral("Failed to download file")});
    }
    EXPECT_EQ(QDir(m_host.folder).entryList(QDir::Files | QDir::Hidden), QStringList({"[0]a.bin", "a.bin"}));
}

// The favourites open in the window's file list, behind this modal dialog: it closes over
// them, applying its settings as any close does.
TEST_F(OptionsDialogTest, OrganizeFavoritesClosesTheDialogOverTheFolder)
{
    TOptionDlg dialog(m_host);
    dialog.show();
    const bool before = m_host.m_settings.openByDblClickFV;
    child<QCheckBox>(dialog, "CheckBoxOpenByDblClickFV")->click();
    child<QPushButton>(dialog, "BitBtn2")->click();
    EXPECT_EQ(m_host.organized, 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_host.m_settings.openByDblClickFV, !before);
}

namespace {

// Asks the emptying to stop once its first item is done, as the progress window's Cancel does.
class CancelAfterFirstItem final : public JobWaiter {
public:
    void wait(JobRunner& runner, const QString& caption) override
    {
        title = caption;
        runner.start();
        while (!runner.isFinished()) {
            if (runner.progress().doneItems > 0)
                runner.cancel();
            std::this_thread::yield();
        }
    }
    QString title;
};

} // namespace

TEST_F(OptionsDialogTest, EmptyRecycleRunsOnAWorkerAndStopsBetweenItemsOnCancel)
{
    const RootOnlyDrives drives(home().root());
    const QString trash = home().dataHome() + QStringLiteral("/Trash");
    // Enough items that the emptying outlasts many passes of the dialog's event loop.
    const int count = 1000;
    const auto fill = [&] {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("item%1").arg(i);
            makeFile(trash.mid(home().root().size() + 1) + QStringLiteral("/files/") + name, "x");
            makeFile(trash.mid(home().root().size() + 1) + QStringLiteral("/info/") + name + QStringLiteral(".trashinfo"),
                     Trash::infoText(home().home() + QLatin1Char('/') + name, QDateTime::currentDateTime()));
        }
        ASSERT_TRUE(Trash::moveToTrash(makeFile(QStringLiteral("home/folder/inner.txt"), "y").section(QLatin1Char('/'), 0, -2)));
    };
    TOptionDlg dialog(m_host);
    auto* button = child<QPushButton>(dialog, "ButtonEmptyRecycle");

    fill();
    int passes = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&passes] { ++passes; });
    tick.start(0);
    button->click();
    tick.stop();
    EXPECT_GT(passes, 0) << "the dialog's event loop did not run while the Trash was emptied";
    EXPECT_TRUE(Trash::isEmpty());
    EXPECT_TRUE(QDir(trash + QStringLiteral("/info")).isEmpty());
    EXPECT_EQ(prompter().records().size(), 0);

    fill();
    CancelAfterFirstItem waiter;
    JobWaiter::setInstance(&waiter);
    button->click();
    JobWaiter::setInstance(nullptr);
    EXPECT_EQ(waiter.title, QStringLiteral("Emptying Recycle bin..."));
    const QList<TrashedItem> left = Trash::items(trash);
    EXPECT_GT(left.size(), 0);
    EXPECT_LT(left.size(), count + 1);
    // What was not deleted is whole: every stored item keeps its info file, and the reverse.
    EXPECT_EQ(QDir(trash + QStringLiteral("/files")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), left.size());
    EXPECT_EQ(prompter().records().size(), 0);
}

TEST(DesktopPanels, FirstInstalledCandidateOfTheDesktop)
{
    const QStringList installed{"systemsettings", "pavucontrol", "gnome-control-center", "gio"};
    const DesktopPanels::Finder finder = [&installed](const QString& program) {
        return installed.contains(program) ? QStringLiteral("/usr/bin/") + program : QString();
    };
    struct Case {
        DesktopPanel panel;
        QStringList desktops;
        QStringList command; // empty: none installed
    };
    const Case cases[] = {
        {DesktopPanel::Display, {"KDE"}, {"/usr/bin/systemsettings", "kcm_kscreen"}},
        {DesktopPanel::Display, {"ubuntu", "GNOME"}, {"/usr/bin/gnome-control-center", "display"}},
        {DesktopPanel::Volume, {"XFCE"}, {"/usr/bin/pavucontrol"}},
        {DesktopPanel::ControlCentre, {}, {"/usr/bin/gnome-control-center"}},
        {DesktopPanel::Network, {"XFCE"}, {}},
    };
    for (const Case& c : cases) {
        const std::optional<QStringList> command = DesktopPanels::command(c.panel, c.desktops, finder);
        EXPECT_EQ(command.value_or(QStringList()), c.command) << c.desktops.join(QLatin1Char(':')).toStdString();
    }
}

TEST(DesktopPanels, ListingsOfGioXrandrAndApplications)
{
    EXPECT_EQ(DesktopPanels::mountedShares("Drive(0): disk\n  Mount(0): share on srv -> smb://srv/share/\n"
                                           "  Mount(1): home -> file:///home\nMount(2): x -> sftp://h/p\n"),
              QStringList({"smb://srv/share/", "sftp://h/p"}));
    EXPECT_EQ(DesktopPanels::displayModes("Screen 0: minimum 8 x 8, current 1024 x 768\nVGA-1 connected 1024x768+0+0\n"
                                          "   1024x768      60.00*+\n   800x600       60.32    56.25\n   1024x768i  43.00\n"),
              QStringList({"1024-768", "800-600"}));

    TempHome home;
    const QString apps = home.root() + QStringLiteral("/share/applications/");
    QDir().mkpath(apps);
    const std::pair<const char*, const char*> entries[] = {
        {"b.desktop", "[Desktop Entry]\nType=Application\nName=Beta\n"},
        {"a.desktop", "[Desktop Entry]\nType=Application\nName=Alpha\nNoDisplay=false\n"},
        {"c.desktop", "[Desktop Entry]\nType=Application\nName=Hidden\nNoDisplay=true\n"},
        {"d.desktop", "[Desktop Entry]\nType=Link\nName=Link\n"},
        {"e.txt", "[Desktop Entry]\nType=Application\nName=Not an entry\n"},
    };
    for (const auto& [name, text] : entries) {
        QFile file(apps + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    EXPECT_EQ(DesktopPanels::installedPrograms({home.root() + QStringLiteral("/share")}), QStringList({"Alpha", "Beta"}));
}
