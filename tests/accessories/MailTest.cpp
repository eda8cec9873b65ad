// Mail: the xdg-email arguments, its exit codes as the result texts, and the whole command
// through a recorder mail program registered as the mailto: handler in the test's home.
#include "accessories/MailMessage.h"
#include "accessories/ui/AccessoryMenus.h"
#include "accessories/ui/MailCommand.h"

#include "fileops/FakePanes.h"
#include "media/ui/MoviePlayerPane.h"
#include "media/ui/TFolTrackBar.h"
#include "support/FakeMediaPlayer.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QAction>
#include <QMenu>
#include <QSlider>
#include <QToolButton>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

TEST(MailMessageTest, ArgumentsAndResults)
{
    const MailMessage full{QStringLiteral("notes.txt"), QStringLiteral("a\r\nb"), {QStringLiteral("/t/a b"), QStringLiteral("/t/c")}};
    EXPECT_EQ(full.arguments(), (QStringList{QStringLiteral("--utf8"), QStringLiteral("--subject"), QStringLiteral("notes.txt"), QStringLiteral("--body"),
                                             QStringLiteral("a\r\nb"), QStringLiteral("--attach"), QStringLiteral("/t/a b"),
                                             QStringLiteral("--attach"), QStringLiteral("/t/c")}));
    EXPECT_EQ(MailMessage().arguments(), QStringList{QStringLiteral("--utf8")});
    EXPECT_EQ(MailMessage::linkBody({QStringLiteral("/b"), QStringLiteral("/a")}), QStringLiteral("/b\n/a\n"));

    const struct {
        int exitCode;
        int result;
        const char* text;
    } cases[] = {
        {0, 0, "Successfully sent the message from application."},
        {1, 2, "One or more unspecified errors occurred; no message was sent."},
        {2, 11, "The specified attachment was not found; no message was sent."},
        {3, -1, "Unknown Error attempting Email\r\nPossible email client not installed."},
        {4, 2, "One or more unspecified errors occurred; no message was sent."},
        {5, 12, "The specified attachment could not be open; no message was sent."},
        {-1, -1, "Unknown Error attempting Email\r\nPossible email client not installed."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exitCode);
        EXPECT_EQ(MailMessage::resultCode(c.exitCode), c.result);
        EXPECT_EQ(MailMessage::resultText(c.result), QLatin1String(c.text));
    }
    EXPECT_EQ(MailMessage::resultText(18), QStringLiteral("The text in the message was too large to sent; the message was not sent."));
}

class MailCommandTest : public TempHomeTest {
protected:
    // A mail program that writes the mailto: link it gets into a file, registered as the
    // desktop's mailto: handler in the test's home.
    void SetUp() override
    {
        TempHomeTest::SetUp();
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-email")).isEmpty())
            GTEST_SKIP() << "xdg-email is not installed";
        m_record = home().root() + QStringLiteral("/mail.txt");
        const QString script = makeFile(QStringLiteral("bin/record-mail"), "#!/bin/sh\nprintf '%s' \"$1\" > '" + m_record.toUtf8() + "'\n");
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        makeFile(QStringLiteral("home/.local/share/applications/recorder.desktop"),
                 "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script.toUtf8() + " %u\nMimeType=x-scheme-handler/mailto;\n");
        makeFile(QStringLiteral("home/.config/mimeapps.list"), "[Default Applications]\nx-scheme-handler/mailto=recorder.desktop\n");
        // xdg-email asks the desktop's mailto: handler only where a display is named.
        m_savedDisplay = qgetenv("WAYLAND_DISPLAY");
        qputenv("WAYLAND_DISPLAY", "folvane-test-none");
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void TearDown() override
    {
        if (m_savedDisplay.isEmpty())
            qunsetenv("WAYLAND_DISPLAY");
        else
            qputenv("WAYLAND_DISPLAY", m_savedDisplay);
        TempHomeTest::TearDown();
    }

    // The query items of the recorded mailto: link.
    QList<std::pair<QString, QString>> recorded()
    {
        QFile file(m_record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QUrl url(QString::fromUtf8(file.readAll()));
        EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
        return QUrlQuery(url).queryItems(QUrl::FullyDecoded);
    }

    int runMail(MailCommand& mail, const std::function<void()>& entry = {})
    {
        QFile::remove(m_record);
        QSignalSpy done(&mail.sender(), &MailSender::finished);
        if (entry)
            entry();
        else
            mail.ButtonMailClick();
        // xdg-email is a shell script that loops once per attachment: slow on a busy machine.
        if (done.isEmpty() && !done.wait(60000))
            return -99;
        return done.first().first().toInt();
    }

    QStringList recordedAttachments()
    {
        QStringList attached;
        for (const auto& [key, value] : recorded()) {
            if (key == QLatin1String("attach"))
                attached << value;
        }
        return attached;
    }

    QString m_record;
    QByteArray m_savedDisplay;
};

TEST_F(MailCommandTest, SelectedFilesAreAttachedAndLinksSentOnlyAfterYes)
{
    const QString folder = makeFolder(QStringLiteral("docs"));
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        makeFile(QStringLiteral("docs/") + QLatin1String(name), "x");
    FakePanes panes;
    panes.showFolder(folder);
    panes.select({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    MailCommand mail(panes, [] { return EditorMail(); });

    prompter().answer(PromptButton::No).answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail), 0);
    QStringList attached;
    QStringList bodies;
    for (const auto& [key, value] : recorded()) {
        if (key == QLatin1String("attach"))
            attached << value;
        if (key == QLatin1String("body"))
            bodies << value;
    }
    EXPECT_EQ(attached, (QStringList{folder + QStringLiteral("/a.txt"), folder + QStringLiteral("/b.txt"), folder + QStringLiteral("/c.txt")}));
    EXPECT_TRUE(bodies.isEmpty());
    EXPECT_EQ(prompter().texts(), (QStringList{QStringLiteral("Send link of selected folder/file?"),
                                               QStringLiteral("Successfully sent the message from application.")}));

    prompter().clear();
    prompter().answer(PromptButton::Yes).answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail), 0);
    bodies.clear();
    for (const auto& [key, value] : recorded()) {
        if (key == QLatin1String("body"))
            bodies << value;
    }
    // The links run from the last selected item to the first.
    ASSERT_EQ(bodies.size(), 1);
    EXPECT_EQ(bodies[0].split(QRegularExpression(QStringLiteral("\r*\n")), Qt::SkipEmptyParts).join(QLatin1Char('|')).toStdString(),
              (QStringList{folder + QStringLiteral("/c.txt"), folder + QStringLiteral("/b.txt"), folder + QStringLiteral("/a.txt")}).join(QLatin1Char('|')).toStdString());
}

TEST_F(MailCommandTest, EditedTextIsTheMail)
{
    FakePanes panes;
    MailCommand mail(panes, [] { return EditorMail{QStringLiteral("notes.txt"), QStringLiteral("Hello there")}; });
    prompter().answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail), 0);
    const auto items = recorded();
    EXPECT_TRUE(items.contains(std::pair(QStringLiteral("subject"), QStringLiteral("notes.txt"))));
    EXPECT_TRUE(items.contains(std::pair(QStringLiteral("body"), QStringLiteral("Hello there"))));
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Mail Sent")});
}

// Every entry point of the window runs the same mail: the mail button, the editor's band
// button, the window action that the editor's "Send As Mail" and the picture and movie menu's
// "Email" trigger, and the file list popup's "Send ..." > "Email". A selected folder gives
// the files below it, and more than 100 files are attached only after Yes.
TEST_F(MailCommandTest, EveryEntryPointMailsTheSelection)
{
    const QString folder = makeFolder(QStringLiteral("work"));
    makeFile(QStringLiteral("work/pics/a.jpg"), "a");
    makeFile(QStringLiteral("work/pics/deep/b.jpg"), "b");
    for (int i = 0; i < 101; ++i)
        makeFile(QStringLiteral("work/many/f%1.txt").arg(i, 3, 10, QLatin1Char('0')), "x");
    FakePanes panes;
    panes.showFolder(folder, 1); // at the top of the tree: no link question
    QMainWindow window;
    auto* send = new QMenu(QStringLiteral("Send ..."), &window);
    send->setObjectName(QStringLiteral("PopupFileSend"));
    FakeWindowContext context(&window);
    MailCommand mail(panes, [] { return EditorMail(); });
    AccessoryMenus menus(context, &mail, QStringLiteral("V3"), [] {});

    auto* windowMail = window.findChild<QAction*>(QStringLiteral("MenuMail"));
    auto* popupMail = send->findChild<QAction*>(QStringLiteral("PopupFileEmail"));
    ASSERT_TRUE(windowMail && popupMail);
    EXPECT_EQ(popupMail->text(), QStringLiteral("Email"));
    const struct {
        const char* name;
        std::function<void()> entry;
    } entries[] = {
        {"ButtonMail", [&] { context.button(BandButton::Mail)->click(); }},
        {"ButtonTextEditorMail", [&] { context.button(BandButton::TextEditorMail)->click(); }},
        {"MenuMail", [&] { windowMail->trigger(); }},
        {"PopupFileEmail", [&] { popupMail->trigger(); }},
    };
    panes.select({QStringLiteral("pics")});
    for (const auto& e : entries) {
        SCOPED_TRACE(e.name);
        prompter().clear();
        prompter().answer(PromptButton::Ok);
        ASSERT_EQ(runMail(mail, e.entry), 0);
        QStringList attached = recordedAttachments();
        attached.sort();
        EXPECT_EQ(attached, (QStringList{folder + QStringLiteral("/pics/a.jpg"), folder + QStringLiteral("/pics/deep/b.jpg")}));
        EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Successfully sent the message from application.")});
    }

    panes.select({QStringLiteral("many")});
    prompter().clear();
    prompter().answer(PromptButton::No);
    QSignalSpy done(&mail.sender(), &MailSender::finished);
    popupMail->trigger();
    EXPECT_EQ(prompter().texts(), QStringList{QStringLiteral("Attach 101 files to the mail?")});
    QCoreApplication::processEvents();
    EXPECT_TRUE(done.isEmpty()) << "No sends nothing";
    prompter().clear();
    prompter().answer(PromptButton::Yes).answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail, [&] { popupMail->trigger(); }), 0);
    EXPECT_EQ(recordedAttachments().size(), 101);
}

// The movie's context menu "Email" mails the movie playing, also when the list has another
// item selected (the movie was opened from another folder or the list moved on).
TEST_F(MailCommandTest, TheMovieMenusEmailAttachesTheMovie)
{
    const QString folder = makeFolder(QStringLiteral("films"));
    const QString movie = makeFile(QStringLiteral("films/clip.avi"), "movie");
    makeFile(QStringLiteral("films/other.avi"), "other");
    FakePanes panes;
    panes.showFolder(folder, 1);
    panes.select({QStringLiteral("clip.avi")});
    QMainWindow window;
    FakeWindowContext context(&window);
    MailCommand mail(panes, [] { return EditorMail(); });
    AccessoryMenus menus(context, &mail, QStringLiteral("V3"), [] {});
    FakeMediaPlayer::install();
    MoviePlayerPane pane(context, new QWidget(&window), new TFolTrackBar(&window), new QSlider(&window), new QToolButton(&window),
                         [] { return false; });
    pane.enter(movie);
    auto* email = pane.PopupMenuMovie()->findChild<QAction*>(QStringLiteral("PopupMenuMovieImageEmail"));
    ASSERT_NE(email, nullptr);
    prompter().answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail, [&] { email->trigger(); }), 0);
    EXPECT_EQ(recordedAttachments(), QStringList{movie});

    panes.select({QStringLiteral("other.avi")});
    prompter().answer(PromptButton::Ok);
    ASSERT_EQ(runMail(mail, [&] { email->trigger(); }), 0);
    EXPECT_EQ(recordedAttachments(), QStringList{movie});
    pane.leave();
    MediaPlayer::setFactory({});
}

} // namespace
