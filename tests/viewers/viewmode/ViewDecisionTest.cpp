// What View and the spinner choose for a file, and the desktop's associations behind "any
// other file", read from a temporary XDG tree with a recorder desktop entry.
#include "viewers/DesktopAssociations.h"
#include "viewers/ViewDecision.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

class ViewDecisionTest : public TempHomeTest {
protected:
    // A desktop entry in the temporary data home.
    QString addEntry(const QString& id, const QByteArray& body)
    {
        return makeFile(QStringLiteral("home/.local/share/applications/") + id, "[Desktop Entry]\nType=Application\n" + body);
    }
    void setMimeApps(const QByteArray& text) { makeFile(QStringLiteral("home/.config/mimeapps.list"), text); }
    DesktopAssociations associations() const
    {
        DesktopAssociations::Folders folders;
        folders.config = {m_config};
        folders.data = {m_data};
        return DesktopAssociations(folders);
    }
    QString executable(const QString& name, const QByteArray& bytes)
    {
        const QString path = makeFile(QStringLiteral("files/") + name, bytes);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    void SetUp() override
    {
        TempHomeTest::SetUp();
        m_config = home().root() + QStringLiteral("/home/.config");
        m_data = home().root() + QStringLiteral("/home/.local/share");
        QDir().mkpath(m_data + QStringLiteral("/applications"));
    }

    QString m_config;
    QString m_data;
};

TEST_F(ViewDecisionTest, ViewAndSpinnerChooseByTheFirstMatchingRow)
{
    const QString folder = makeFolder(QStringLiteral("files/sub"));
    const QString url = makeFile(QStringLiteral("files/site.url"), "[InternetShortcut]\nURL=https://example.org/\n");
    const QString emptyUrl = makeFile(QStringLiteral("files/blank.url"), "[InternetShortcut]\n");
    struct Case {
        QString path;
        ViewAction view;
        ViewAction spinner;
        TViewMode mode; // of ShowInMode, the View command's
        QString shown;  // the path shown, when not the file's own
    } cases[] = {
        {folder, ViewAction::EnterFolder, ViewAction::EnterFolder, vmFileManager, {}},
        {home().root() + QStringLiteral("/files/gone.txt"), ViewAction::ShowCurrentFile, ViewAction::ShowCurrentFile, vmFileManager, {}},
        {makeFile(QStringLiteral("files/note.TXT"), "hello"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmTextEditor, {}},
        {makeFile(QStringLiteral("files/NOTE.TXTX"), "hello"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmFileViewer, {}},
        {makeFile(QStringLiteral("files/a.zip"), QByteArray("PK\x03\x04", 4)), ViewAction::ShowInMode, ViewAction::ShowInMode, vmZipViewer, {}},
        {makeFile(QStringLiteral("files/CLIP.MPEG4"), "x"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmMoviePlayer, {}},
        {makeFile(QStringLiteral("files/p.gif"), "GIF89a"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmImageViewer, {}},
        {makeFile(QStringLiteral("files/p.htm"), "<html>"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmWebBrowser, {}},
        {url, ViewAction::ShowInMode, ViewAction::ShowInMode, vmWebBrowser, QStringLiteral("https://example.org/")},
        {emptyUrl, ViewAction::ShowInMode, ViewAction::ShowInMode, vmFileViewer, {}},
        {makeFile(QStringLiteral("files/s.mp3"), "ID3"), ViewAction::Playlist, ViewAction::ShowInMode, vmFileManager, {}},
        {makeFile(QStringLiteral("files/l.m3u"), "#EXTM3U"), ViewAction::Playlist, ViewAction::ShowInMode, vmFileManager, {}},
        {makeFile(QStringLiteral("files/setup.bat"), "echo"), ViewAction::RunDialog, ViewAction::ShowInMode, vmFileManager, {}},
        {executable(QStringLiteral("tool"), "\x7f" "ELF\x02\x01"), ViewAction::RunDialog, ViewAction::ShowInMode, vmFileManager, {}},
        {executable(QStringLiteral("go.sh"), "#!/bin/sh\necho\n"), ViewAction::RunDialog, ViewAction::ShowInMode, vmFileManager, {}},
        {makeFile(QStringLiteral("files/app.desktop"), "[Desktop Entry]\nType=Application\nExec=x\n"), ViewAction::RunDialog, ViewAction::ShowInMode, vmFileManager, {}},
        // A .TXT holding a byte 0 is no text: no handler here, so the file viewer.
        {makeFile(QStringLiteral("files/bin.txt"), QByteArray("a\0b", 3)), ViewAction::ShowInMode, ViewAction::ShowInMode, vmFileViewer, {}},
        {makeFile(QStringLiteral("files/fake.zip"), "not a zip"), ViewAction::ShowInMode, ViewAction::ShowInMode, vmFileViewer, {}},
    };
    const DesktopAssociations none = associations();
    for (const Case& c : cases) {
        const ViewChoice view = ChooseView(c.path, ViewRule::View, true, none);
        EXPECT_EQ(view.action, c.view) << qPrintable(c.path) << " " << qPrintable(view.describe());
        if (c.view == ViewAction::ShowInMode) {
            EXPECT_EQ(view.mode, c.mode) << qPrintable(c.path);
            EXPECT_EQ(view.path, c.shown.isEmpty() ? c.path : c.shown);
        }
        const ViewChoice spin = ChooseView(c.path, ViewRule::Spinner, true, none);
        EXPECT_EQ(spin.action, c.spinner) << "spinner " << qPrintable(c.path);
        if (c.spinner == ViewAction::ShowInMode && c.view != ViewAction::ShowInMode) {
            EXPECT_EQ(spin.mode, vmFileViewer) << "the spinner shows " << qPrintable(c.path) << " in the file viewer";
        }
    }
}

// A FIFO in the folder is an access error at once, never a hang.
TEST_F(ViewDecisionTest, FifoIsAnAccessError)
{
    const QString fifo = home().root() + QStringLiteral("/files.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(ChooseView(fifo, ViewRule::View, true, associations()).action, ViewAction::AccessError);
    EXPECT_EQ(ChooseView(QStringLiteral("/dev/zero"), ViewRule::Spinner, true, associations()).action, ViewAction::AccessError);
}

TEST_F(ViewDecisionTest, WithOwnPanesOffFilesGoToTheDesktopAndProgramsStillToTheRunDialog)
{
    const DesktopAssociations none = associations();
    EXPECT_EQ(ChooseView(makeFile(QStringLiteral("files/a.txt"), "x"), ViewRule::View, false, none).action, ViewAction::ShellOpen);
    EXPECT_EQ(ChooseView(makeFile(QStringLiteral("files/b.gif"), "x"), ViewRule::Spinner, false, none).action, ViewAction::ShellOpen);
    EXPECT_EQ(ChooseView(executable(QStringLiteral("run"), "#!/bin/sh\n"), ViewRule::View, false, none).action, ViewAction::RunDialog);
}

// The handler comes from the lists and entries of the temporary XDG tree: the user's default,
// then entries listing the type, walking to parent types; this program itself is no handler.
TEST_F(ViewDecisionTest, AssociationsFollowTheListsEntriesAndParentTypes)
{
    addEntry(QStringLiteral("recorder.desktop"), "Exec=recorder %f\nMimeType=application/pdf;text/plain;\n");
    addEntry(QStringLiteral("other.desktop"), "Exec=other %U\nMimeType=application/x-other;\n");
    addEntry(QStringLiteral("hidden.desktop"), "Exec=hidden\nHidden=true\nMimeType=image/x-xcf;\n");
    addEntry(QStringLiteral("folvane3.desktop"), "Exec=/usr/bin/folvane3 %f\nMimeType=application/x-cpio;\n");
    addEntry(QStringLiteral("vendor/sub.desktop"), "Exec=sub\nMimeType=application/rtf;\n");
    setMimeApps("[Default Applications]\napplication/pdf=missing.desktop;other.desktop;\n"
                "[Removed Associations]\ntext/plain=recorder.desktop;\n");
    const DesktopAssociations a = associations();
    EXPECT_EQ(a.handlerForType(QStringLiteral("application/pdf")), QStringLiteral("other.desktop")) << "the first installed default";
    EXPECT_EQ(a.handlerForType(QStringLiteral("text/plain")), QString()) << "removed by the user";
    EXPECT_EQ(a.handlerForType(QStringLiteral("image/x-xcf")), QString()) << "a hidden entry";
    EXPECT_EQ(a.handlerForType(QStringLiteral("application/x-cpio")), QString()) << "this program itself";
    EXPECT_EQ(a.handlerForType(QStringLiteral("application/rtf")), QStringLiteral("vendor-sub.desktop"));
    EXPECT_EQ(a.entryPath(QStringLiteral("recorder.desktop")), m_data + QStringLiteral("/applications/recorder.desktop"));

    // Without the removal, a C source (text/x-csrc, a kind of text/plain) finds the text handler.
    QFile::remove(m_config + QStringLiteral("/mimeapps.list"));
    const DesktopAssociations b = associations();
    EXPECT_EQ(b.handlerForType(QStringLiteral("text/x-csrc")), QStringLiteral("recorder.desktop"));

    // The View command: a file with a handler opens with it; the spinner still shows it.
    const QString pdf = makeFile(QStringLiteral("files/doc.pdf"), "%PDF-1.4\n");
    const ViewChoice view = ChooseView(pdf, ViewRule::View, true, b);
    EXPECT_EQ(view.action, ViewAction::OpenWith);
    EXPECT_EQ(view.handler, QStringLiteral("recorder.desktop"));
    EXPECT_EQ(view.describe(), QStringLiteral("open with recorder.desktop"));
    EXPECT_EQ(ChooseView(pdf, ViewRule::Spinner, true, b).mode, vmFileViewer);
}

// A default that is this program means the viewer, even when other entries list the type.
TEST_F(ViewDecisionTest, ThisProgramAsTheDefaultMeansTheViewer)
{
    addEntry(QStringLiteral("fv.desktop"), "Exec=folvane3 %F\nMimeType=application/pdf;\n");
    addEntry(QStringLiteral("recorder.desktop"), "Exec=recorder %f\nMimeType=application/pdf;\n");
    setMimeApps("[Default Applications]\napplication/pdf=fv.desktop\n");
    const QString pdf = makeFile(QStringLiteral("files/doc.pdf"), "%PDF-1.4\n");
    const ViewChoice view = ChooseView(pdf, ViewRule::View, true, associations());
    EXPECT_EQ(view.action, ViewAction::ShowInMode);
    EXPECT_EQ(view.mode, vmFileViewer);
}

TEST(ViewChoiceText, DescribesEachChoiceForScripts)
{
    ViewChoice c;
    c.action = ViewAction::ShowInMode;
    c.mode = vmTextEditor;
    EXPECT_EQ(c.describe(), QStringLiteral("mode 3 Folvane Text Editor"));
    c.action = ViewAction::RunDialog;
    EXPECT_EQ(c.describe(), QStringLiteral("run dialog"));
}

} // namespace
