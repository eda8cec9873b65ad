#include "accessories/ui/MailCommand.h"

#include "fileops/BrowsePanes.h"
#include "fileops/WorkList.h"
#include "platform/JobWaiter.h"
#include "platform/LocalFiles.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"
#include "platform/ui/FileAction.h"

#include <QFileInfo>

MailCommand::MailCommand(BrowsePanes& panes, std::function<EditorMail()> editor, QObject* parent)
    : QObject(parent)
    , m_panes(panes)
    , m_editor(std::move(editor))
    , m_sender(new MailSender(this))
{
    connect(m_sender, &MailSender::finished, this, [this](int code) {
        if (!m_editorMail)
            Prompter::instance().information(MailMessage::resultText(code));
        else if (code == 0)
            Prompter::instance().information(QStringLiteral("Mail Sent"));
        else
            Prompter::instance().error(QStringLiteral("Mail Error"));
    });
}

void MailCommand::ButtonMailClick()
{
    if (mailEditorText())
        return;
    // The picture and movie menus name the file they show: that file is mailed, whatever the
    // list has selected.
    const QString shown = FileAction::fileOf(QObject::sender());
    const QList<ListEntry> entries = shown.isEmpty() ? m_panes.selectedEntries() : QList<ListEntry>{shownEntry(shown)};
    MailMessage message;
    const QString links = linkBody(entries);
    if (!links.isEmpty() && Prompter::instance().confirm(QStringLiteral("Send link of selected folder/file?")))
        message.body = links;
    if (!collectAttachments(entries, &message.attachments))
        return;
    m_editorMail = false;
    m_sender->send(message);
}

bool MailCommand::mailEditorText()
{
    const EditorMail edited = m_editor ? m_editor() : EditorMail();
    if (edited.fileName.isEmpty() || edited.text.isEmpty())
        return false;
    m_editorMail = true;
    m_sender->send({edited.fileName, edited.text, {}});
    return true;
}

ListEntry MailCommand::shownEntry(const QString& path)
{
    ListEntry entry;
    entry.fullPath = path;
    entry.caption = QFileInfo(path).fileName();
    entry.kind = QStringLiteral("file");
    entry.selected = true;
    return entry;
}

QString MailCommand::linkBody(const QList<ListEntry>& selected) const
{
    // Links only for a folder below the drives whose listing is shown.
    if (m_panes.treeSelectedLevel() < 2 || !LocalFiles::isDir(m_panes.listDirectory()))
        return QString();
    QStringList paths;
    if (selected.isEmpty())
        paths << m_panes.treeSelectedPath();
    for (auto it = selected.crbegin(); it != selected.crend(); ++it)
        paths << it->fullPath;
    return MailMessage::linkBody(paths);
}

bool MailCommand::collectAttachments(const QList<ListEntry>& selected, QStringList* files) const
{
    if (selected.isEmpty())
        return true;
    // Selected folders give every file below them: walked off the window's thread.
    WorkListJob job(selected, false);
    RunJob(job, QStringLiteral("Collecting files..."));
    if (job.isCancelled())
        return false;
    *files = job.files();
    if (files->size() <= MailMessage::kAttachmentsWithoutAsking)
        return true;
    return Prompter::instance().confirm(QStringLiteral("Attach %1 files to the mail?").arg(files->size()));
}

void MailCommand::PopupEmailClick()
{
    const ShellExecuteResult result = ShellExecute(QStringLiteral("Open"), QStringLiteral("mailto:"));
    if (result.failed())
        Prompter::instance().error(ShellFailureMessage(QStringLiteral("Open"), QStringLiteral("mailto:"), result));
}
