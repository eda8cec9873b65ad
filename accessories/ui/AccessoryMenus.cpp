#include "accessories/ui/AccessoryMenus.h"

#include "accessories/ui/MailCommand.h"
#include "accessories/ui/TAboutBox.h"
#include "accessories/ui/TCalForm.h"
#include "media/ui/TFormCD.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QToolButton>

namespace {

// Volume mixers of the common desktops and sound servers.
const char* const kMixers[] = {"pavucontrol", "pavucontrol-qt", "pwvucontrol", "kmix", "xfce4-mixer", "mate-volume-control"};

} // namespace

AccessoryMenus::AccessoryMenus(WindowContext& context, MailCommand* mail, QString versionText, std::function<void()> closeWindow)
    : QObject(context.window())
    , m_context(context)
    , m_mail(mail)
    , m_versionText(std::move(versionText))
    , m_closeWindow(std::move(closeWindow))
{
    buildSystemMenu();
    buildMenus();
}

QAction* AccessoryMenus::add(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void AccessoryMenus::buildSystemMenu()
{
    m_systemMenu = new QMenu(m_context.window());
    m_systemMenu->setObjectName(QStringLiteral("PopupMenu_C_Prompt"));
    int count = 0;
    const SystemCommandItem* items = SystemCommands::items(&count);
    for (int i = 0; i < count; ++i) {
        const SystemCommand command = items[i].command;
        connect(add(m_systemMenu, items[i].objectName, QLatin1String(items[i].caption)), &QAction::triggered, this,
                [this, command] { runSystemCommand(command); });
    }
    QToolButton* button = m_context.button(BandButton::C_Prompt);
    button->setMenu(m_systemMenu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
}

void AccessoryMenus::buildMenus()
{
    QMenu* search = m_context.menu(MainMenu::Search);
    connect(add(search, "MenuWindowsExplore", QStringLiteral("Windows Explore")), &QAction::triggered, this, &AccessoryMenus::exploreRequested);
    connect(add(search, "MenuWindowsSearch", QStringLiteral("Windows Search")), &QAction::triggered, this, &AccessoryMenus::searchRequested);
    QMenu* music = m_context.menu(MainMenu::Music);
    connect(add(music, "MenuCD", QStringLiteral("CD player")), &QAction::triggered, this, &AccessoryMenus::MenuCDClick);
    connect(add(music, "MenuWindowsVolume", QStringLiteral("Windows Mixer (Volume)")), &QAction::triggered, this,
            &AccessoryMenus::MenuWindowsVolumeClick);
    QAction* calendar = add(m_context.menu(MainMenu::Tools), "MenuCalClock", QStringLiteral("Calendar Clock"));
    connect(calendar, &QAction::triggered, this, &AccessoryMenus::MenuCalClockClick);
    connect(m_context.button(BandButton::Time), &QToolButton::clicked, calendar, &QAction::trigger);
    if (QAction* about = m_context.window()->findChild<QAction*>(QStringLiteral("MenuAbout")))
        connect(about, &QAction::triggered, this, &AccessoryMenus::MenuAboutClick);

    buildMailEntries();
    buildListFind();
}

void AccessoryMenus::buildMailEntries()
{
    // One window action carries the mail command; the editor's "Send As Mail" and the
    // picture and movie menu's "Email" reach it by its name.
    QWidget* window = m_context.window();
    auto* mail = new QAction(QStringLiteral("Email"), window);
    mail->setObjectName(QStringLiteral("MenuMail"));
    window->addAction(mail);
    connect(mail, &QAction::triggered, m_mail, &MailCommand::ButtonMailClick);

    QToolButton* mailButton = m_context.button(BandButton::Mail);
    auto* mailMenu = new QMenu(mailButton);
    mailMenu->setObjectName(QStringLiteral("PopupMenuMail"));
    connect(add(mailMenu, "PopupEmail", QStringLiteral("Email")), &QAction::triggered, m_mail, &MailCommand::PopupEmailClick);
    mailButton->setMenu(mailMenu);
    mailButton->setPopupMode(QToolButton::MenuButtonPopup);
    connect(mailButton, &QToolButton::clicked, mail, &QAction::trigger);
    connect(m_context.button(BandButton::TextEditorMail), &QToolButton::clicked, mail, &QAction::trigger);

    // The file list popup's "Send ..." (made with the zip items) gets "Email", its picture
    // the mail button's.
    if (auto* send = window->findChild<QMenu*>(QStringLiteral("PopupFileSend"))) {
        QAction* email = add(send, "PopupFileEmail", QStringLiteral("Email"));
        connect(email, &QAction::triggered, mail, &QAction::trigger);
        connect(send, &QMenu::aboutToShow, email, [email, mailButton] { email->setIcon(mailButton->icon()); });
    }
}

void AccessoryMenus::runSystemCommand(SystemCommand command)
{
    const Status answer = SystemCommands::run(command, [this] { m_context.saveSettings(); }, m_closeWindow);
    // The window is closing after the session commands: a refusal is not shown then, as the
    // system itself does not report it either.
    if (!answer && !SystemCommands::item(command).endsSession)
        Prompter::instance().error(answer.errorString());
}

void AccessoryMenus::MenuCDClick()
{
    auto* player = new TFormCD(CdAudioDevice::create(), [] { return ListCdDrives(); }, m_context.window());
    player->show();
}

void AccessoryMenus::MenuWindowsVolumeClick()
{
    for (const char* name : kMixers) {
        const QString program = ProgramLauncher::instance().findProgram(QLatin1String(name));
        if (program.isEmpty())
            continue;
        if (const Status started = ProgramLauncher::instance().start(program, {}, QDir::homePath()); !started)
            Prompter::instance().error(started.errorString());
        return;
    }
    Prompter::instance().error(QStringLiteral("No volume mixer program is installed."));
}

void AccessoryMenus::MenuCalClockClick()
{
    TCalForm calendar(m_context.currentPath(), m_context.window());
    calendar.exec();
}

void AccessoryMenus::MenuAboutClick()
{
    TAboutBox about(QCoreApplication::applicationFilePath(), m_versionText, m_context.window());
    about.exec();
}

// The file list popup's "Find ..." runs the Search menu's commands: the program's own file
// search, the desktop's search and its file manager at the tree's folder.
void AccessoryMenus::buildListFind()
{
    QWidget* window = m_context.window();
    auto* popup = window->findChild<QMenu*>(QStringLiteral("PopupMenuFile"));
    if (!popup)
        return;
    QMenu* find = popup->addMenu(QStringLiteral("Find ..."));
    find->menuAction()->setObjectName(QStringLiteral("PopupFileFind"));
    const struct {
        const char* name;
        const char* caption;
        const char* command;
    } items[] = {
        {"PopupFileFolvaneFind", "Folvane FIND", "MenuFind"},
        {"PopupFileWindowsFind", "Windows FIND", "MenuWindowsSearch"},
        {"PopupFileWindowsExplore", "Windows Explore", "MenuWindowsExplore"},
    };
    for (const auto& item : items) {
        const QString command = QLatin1String(item.command);
        connect(add(find, item.name, QLatin1String(item.caption)), &QAction::triggered, this, [window, command] {
            if (auto* action = window->findChild<QAction*>(command))
                action->trigger();
        });
    }
}
