#include "fileops/tools/FileToolCommands.h"

#include "fileops/tools/FileToolCaptions.h"
#include "fileops/tools/PathLists.h"
#include "platform/ChangeNotices.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

void FileToolCommands::makeShortcutIn()
{
    const QString listFolder = PathText::withoutTrailingSlash(m_panes.listDirectory());
    const int n = m_panes.treeIsActive() ? 0 : m_panes.selectedCount();
    const QString folder = BrowseForFolder(FileToolCaptions::shortcutPickerTitle(n, listFolder), listFolder);
    if (folder.isEmpty() || !LocalFiles::isDir(folder) || PathText::withoutTrailingSlash(folder) == listFolder)
        return;
    makeShortcuts(folder);
}

void FileToolCommands::makeShortcutOnDesktop()
{
    const QString desktop = SpecialFolderPath(SpecialFolder::Desktop);
    // The desktop folder is made on first use, as desktops make it themselves.
    if (!desktop.isEmpty())
        LocalFiles::makePath(desktop);
    makeShortcuts(desktop);
}

void FileToolCommands::makeShortcuts(const QString& folder)
{
    QStringList targets;
    if (!m_panes.treeIsActive()) {
        for (const ListEntry& entry : m_panes.selectedEntries())
            targets << entry.fullPath;
    }
    if (targets.isEmpty())
        targets << PathText::withoutTrailingSlash(m_panes.listDirectory());
    for (const QString& target : targets) {
        const QString failure = folder.isEmpty() ? QStringLiteral("Shortcut for ") + target + QStringLiteral(" failed.")
                                                 : PathLists::makeShortcut(target, folder);
        if (!failure.isEmpty())
            Prompter::instance().error(failure);
    }
    if (folder.isEmpty())
        return;
    NotifyChange(ChangeEvent::UpdateDir, folder);
    m_panes.refreshList();
}

QString FileToolCommands::pathsToTextFile()
{
    const QString folder = m_panes.listDirectory();
    const QList<ListEntry> selected = m_panes.selectedEntries();
    const bool complete = Prompter::instance().confirm(QStringLiteral("Would you like to complete path?  else just name"));
    QStringList items;
    for (const ListEntry& entry : selected)
        items << (complete ? entry.fullPath : PathText::nameOf(entry.fullPath)); // the name by its bytes
    QString error;
    const QString path = PathLists::createNewTextFile(folder, FileName::encode(PathLists::lines(items)), &error);
    if (path.isEmpty()) {
        Prompter::instance().error(QStringLiteral("Can not create a text file in ") + folder + QStringLiteral("\r\n") + error);
        return QString();
    }
    NotifyChange(ChangeEvent::UpdateDir, PathText::withoutTrailingSlash(folder));
    return path;
}
