// The accessories in the window: the command-prompt button's menu, the other menu items,
// the system commands through a fake session (settings saved first, the window closed
// after, also when the system refuses), the volume mixer, and the CD player window.
#include "accessories/ui/AccessoryMenus.h"
#include "accessories/ui/MailCommand.h"
#include "media/ui/TFormCD.h"

#include "fileops/FakePanes.h"
#include "support/FakeCdAudio.h"
#include "support/FakeLauncher.h"
#include "support/FakeSession.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>

namespace {

class AccessoryMenusTest : public TempHomeTest {
protected:
    QStringList captions(QMenu* menu) const
    {
        QStringList all;
        for (QAction* action : menu->actions())
            all << action->objectName() + QLatin1Char('=') + action->text();
        return all;
    }

    QMainWindow window;
    FakeWindowContext context{&window};
    FakePanes panes;
    MailCommand mail{panes, [] { return EditorMail(); }};
    int closes = 0;
    AccessoryMenus menus{context, &mail, QStringLiteral("V3"), [this] { ++closes; }};
};

TEST_F(AccessoryMenusTest, MenusCarryTheCommands)
{
    EXPECT_EQ(captions(menus.PopupMenu_C_Prompt()),
              (QStringList{QStringLiteral("PopupRestart=Restart"), QStringLiteral("PopupLogOff=Log Off"), QStringLiteral("PopupReboot=Reboot"),
                           QStringLiteral("PopupScreenSaver=Screen Saver"), QStringLiteral("PopupStandby=Monitor to Standby"),
                           QStringLiteral("PopupShutDown=Shut Down"), QStringLiteral("PopupPowerOff=Power Off")}));
    EXPECT_EQ(context.button(BandButton::C_Prompt)->menu(), menus.PopupMenu_C_Prompt());
    EXPECT_EQ(captions(context.menu(MainMenu::Search)),
              (QStringList{QStringLiteral("MenuWindowsExplore=Windows Explore"), QStringLiteral("MenuWindowsSearch=Windows Search")}));
    EXPECT_EQ(captions(context.menu(MainMenu::Music)),
              (QStringList{QStringLiteral("MenuCD=CD player"), QStringLiteral("MenuWindowsVolume=Windows Mixer (Volume)")}));
    EXPECT_EQ(captions(context.menu(MainMenu::Tools)), QStringList{QStringLiteral("MenuCalClock=Calendar Clock")});
    EXPECT_EQ(captions(context.button(BandButton::Mail)->menu()), QStringList{QStringLiteral("PopupEmail=Email")});
}

// The file list popup's "Find ..." runs the program's search and the desktop's search and
// file manager, as the Search menu does.
TEST_F(AccessoryMenusTest, TheFileListPopupFindsWithEitherSearch)
{
    QMainWindow listWindow;
    FakeWindowContext listContext(&listWindow);
    auto* popup = new QMenu(&listWindow);
    popup->setObjectName(QStringLiteral("PopupMenuFile"));
    auto* ownFind = new QAction(&listWindow);
    ownFind->setObjectName(QStringLiteral("MenuFind"));
    AccessoryMenus listMenus(listContext, &mail, QStringLiteral("V3"), [] {});
    auto* find = popup->findChild<QMenu*>();
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->title(), QStringLiteral("Find ..."));
    EXPECT_EQ(captions(find), (QStringList{QStringLiteral("PopupFileFolvaneFind=Folvane FIND"), QStringLiteral("PopupFileWindowsFind=Windows FIND"),
                                           QStringLiteral("PopupFileWindowsExplore=Windows Explore")}));
    QStringList ran;
    QObject::connect(ownFind, &QAction::triggered, [&] { ran << QStringLiteral("own search"); });
    QObject::connect(&listMenus, &AccessoryMenus::searchRequested, [&] { ran << QStringLiteral("desktop search"); });
    QObject::connect(&listMenus, &AccessoryMenus::exploreRequested, [&] { ran << QStringLiteral("desktop file manager"); });
    for (QAction* item : find->actions())
        item->trigger();
    EXPECT_EQ(ran, (QStringList{QStringLiteral("own search"), QStringLiteral("desktop search"), QStringLiteral("desktop file manager")}));
}

TEST_F(AccessoryMenusTest, SessionCommandsSaveThenCloseEvenWhenRefused)
{
    const struct {
        const char* item;
        SessionAction action;
        bool closes;
        const char* refusal;
    } cases[] = {
        {"PopupPowerOff", SessionAction::PowerOff, true, nullptr},
        {"PopupReboot", SessionAction::Reboot, true, "Access denied"},
        {"PopupLogOff", SessionAction::LogOff, true, "Access denied"},
        {"PopupScreenSaver", SessionAction::ScreenSaver, false, nullptr},
        {"PopupStandby", SessionAction::MonitorStandBy, false, "the xset program is not installed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        FakeSession session;
        if (c.refusal)
            session.refuse(QLatin1String(c.refusal));
        const int saves = context.settingsSaves;
        const int closed = closes;
        prompter().clear();
        if (c.refusal && !c.closes)
            prompter().answer(PromptButton::Ok);
        for (QAction* action : menus.PopupMenu_C_Prompt()->actions()) {
            if (action->objectName() == QLatin1String(c.item))
                action->trigger();
        }
        EXPECT_EQ(session.performed(), QList<SessionAction>{c.action});
        EXPECT_EQ(context.settingsSaves - saves, c.closes ? 1 : 0);
        EXPECT_EQ(closes - closed, c.closes ? 1 : 0);
        // Only a screen command that failed says so: the session commands close the window.
        EXPECT_EQ(prompter().texts(), c.refusal && !c.closes ? QStringList{QLatin1String(c.refusal)} : QStringList());
    }
}

TEST_F(AccessoryMenusTest, VolumeMixerIsStartedOrMissed)
{
    FakeLauncher launcher;
    prompter().answer(PromptButton::Ok);
    menus.MenuWindowsVolumeClick();
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("No volume mixer program is installed.")});
    launcher.addProgram(QStringLiteral("kmix")).addProgram(QStringLiteral("pavucontrol"));
    menus.MenuWindowsVolumeClick();
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches()[0].program, QStringLiteral("/usr/bin/pavucontrol"));
}

class CdWindowTest : public TempHomeTest {};

TEST_F(CdWindowTest, ShowsTheDiscAndTheTimeDisplayTogglesOnDoubleClick)
{
    FakeCdAudio fake;
    fake.insertDisc({75 * 200, 75 * 100});
    fake.install();
    auto* window = new TFormCD(CdAudioDevice::create(), [] { return QList<CdDrive>{{QStringLiteral("/dev/sr0"), true}}; });
    CdAudioDevice::setFactory({});
    // The player answers from its own thread; the window shows what it sends back.
    auto settled = [window] { return QTest::qWaitFor([window] { return !window->isBusy(); }, 5000); };
    window->show();
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("FolVane CD Player"));
    ASSERT_TRUE(settled());
    fake.setPosition(2, 75 * 5);
    window->TimerCD();
    ASSERT_TRUE(settled());
    auto* label = window->findChild<QLabel*>(QStringLiteral("LabelTracks"));
    auto* panel = window->findChild<QLabel*>(QStringLiteral("Panel2"));
    EXPECT_EQ(label->text(), QStringLiteral("Track:2 of 2"));
    EXPECT_EQ(panel->text(), QStringLiteral("01:40 00:05"));
    QTest::mouseDClick(panel, Qt::LeftButton);
    ASSERT_TRUE(settled());
    EXPECT_EQ(label->text(), QStringLiteral("disabled"));
    EXPECT_EQ(panel->text(), QStringLiteral("disabled"));
    QPointer<TFormCD> alive(window);
    window->close(); // frees itself, and closes the drive on the player's thread
    EXPECT_TRUE(QTest::qWaitFor([&] { return alive.isNull() && !fake.isOpen(); }, 5000));
}

} // namespace
