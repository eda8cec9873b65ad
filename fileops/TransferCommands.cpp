#include "fileops/TransferCommands.h"

#include "fileops/FileDropMime.h"
#include "platform/ChangeNotices.h"
#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The folder picker's title for files of the list: "Copy 2 selected to... ", "Move 2 selected to...".
QString selectedTitle(const QString& verb, qsizetype count, bool move)
{
    return verb + QString::number(count) + (move ? QStringLiteral(" selected to...") : QStringLiteral(" selected to... "));
}

// Reverts the hourglass on every path out of a command.
class WaitCursor {
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
};

QClipboard* systemClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

using PathText::joined;
using PathText::nameOf;
using PathText::withoutTrailingSlash;

bool isFolder(const QString& path)
{
    return LocalFiles::isDir(path);
}

FileOperationKind kindOf(TransferMode mode)
{
    return mode == TransferMode::Move ? FileOperationKind::Move : FileOperationKind::Copy;
}

// A name the file system can hold as one entry of a folder.
bool isValidEntryName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

} // namespace

TransferCommands::TransferCommands(BrowsePanes& panes, FileClipboard& clipboard)
    : m_panes(panes), m_clipboard(clipboard)
{
}

QString TransferCommands::listFolder() const
{
    const QString dir = m_panes.listDirectory();
    return isFolder(dir) ? withoutTrailingSlash(dir) : QString();
}

void TransferCommands::afterChange()
{
    if (m_afterChange)
        m_afterChange();
}

// ---- Copy, cut, paste -------------------------------------------------------------------

void TransferCommands::copy(bool move)
{
    if (m_panes.treeIsActive())
        copyTree(move);
    else
        copyList(move);
}

void TransferCommands::copyList(bool move)
{
    m_clipboard.setMode(TransferMode::None);
    QStringList paths;
    for (const ListEntry& entry : m_panes.selectedEntries())
        paths << entry.fullPath;
    m_clipboard.setListSource(paths);
    m_clipboard.setMode(move ? TransferMode::Move : TransferMode::Copy);
    QClipboard* clipboard = systemClipboard();
    if (!paths.isEmpty() && clipboard) {
        auto* mime = new QMimeData;
        FileDropMime::write(mime, paths);
        clipboard->setMimeData(mime);
    }
}

void TransferCommands::copyTree(bool move)
{
    m_clipboard.setMode(TransferMode::None);
    const QString path = m_panes.treeSelectedPath();
    if (path.isEmpty())
        return;
    m_clipboard.setTreeSource(path, m_panes.treeSelectedLevel() == 1);
    m_clipboard.setMode(move ? TransferMode::Move : TransferMode::Copy);
    m_clipboard.setPastePending(true);
}

void TransferCommands::paste()
{
    if (m_panes.treeIsActive())
        pasteTree();
    else
        pasteList();
    afterChange();
}

void TransferCommands::pasteList()
{
    const QString folder = listFolder();
    if (folder.isEmpty())
        return;
    TransferMode mode = m_clipboard.mode();
    if (m_clipboard.listPaths().isEmpty()) {
        // Files copied by another program; their cut mark decides, so a copy made elsewhere
        // is never turned into a move by a mode left from an earlier cut here.
        const FileDropList dropped = FileDropMime::read(systemClipboard() ? systemClipboard()->mimeData() : nullptr);
        if (!dropped.paths.isEmpty()) {
            m_clipboard.setListSource(dropped.paths);
            mode = dropped.cut ? TransferMode::Move : TransferMode::Copy;
        }
    }
    if (m_clipboard.listPaths().isEmpty()) {
        Prompter::instance().warning(QStringLiteral("No file(s) selected"));
        return;
    }
    {
        WaitCursor wait;
        bool done = false;
        if (mode != TransferMode::None)
            done = RunTransfer(kindOf(mode), m_clipboard.listSource(), {PathText::withTrailingSlash(folder)});
        m_panes.refreshList();
        m_clipboard.consumeListPaths();
        m_panes.rebuildTreeAt(folder);
        if (done && mode == TransferMode::Move)
            forgetPastedCut();
    }
}

// Cut files, once pasted, live at their new place: neither the program's clipboard nor the
// system's (which this program fills with the same paths) offers the old paths again, so
// Paste turns off instead of failing on files that are gone.
void TransferCommands::forgetPastedCut()
{
    m_clipboard.clearListSource();
    QClipboard* clipboard = systemClipboard();
    if (!clipboard)
        return;
    const FileDropList held = FileDropMime::read(clipboard->mimeData());
    const bool allGone = std::none_of(held.paths.cbegin(), held.paths.cend(),
                                      [](const QString& path) { return LocalFiles::entryExists(path); });
    if (!held.paths.isEmpty() && allGone)
        clipboard->clear();
}

bool TransferCommands::pasteTree()
{
    const QString target = m_panes.treeSelectedPath();
    const TreeSource& source = m_clipboard.treeSource();
    bool ok = false;
    if (!target.isEmpty() && !source.folder.isEmpty() && m_clipboard.mode() != TransferMode::None) {
        const QStringList sources = FileClipboard::expandTreeSource(source);
        const QString into = PathText::withTrailingSlash(target);
        WaitCursor wait;
        ok = !sources.isEmpty() && RunTransfer(kindOf(m_clipboard.mode()), sources, {into});
        if (ok)
            m_panes.rebuildTreeAt(target);
        else
            Prompter::instance().error(QStringLiteral("File operation failed"));
    }
    m_clipboard.setPastePending(false);
    return ok;
}

// ---- Delete -------------------------------------------------------------------------------

void TransferCommands::deleteSelected()
{
    if (m_panes.treeIsActive())
        deleteTree();
    else
        deleteList();
    afterChange();
}

void TransferCommands::deleteList()
{
    QStringList paths;
    for (const ListEntry& entry : m_panes.selectedEntries())
        paths << entry.fullPath;
    deletePaths(listFolder(), paths);
}

void TransferCommands::deleteFile(const QString& path)
{
    deletePaths(withoutTrailingSlash(PathText::folderOf(path)), {path});
    afterChange();
}

void TransferCommands::deletePaths(const QString& folder, const QStringList& paths)
{
    WaitCursor wait;
    if (folder.isEmpty() || paths.isEmpty())
        return;
    if (RunTransfer(FileOperationKind::Delete, paths, {})) {
        m_panes.refreshList();
        m_panes.rebuildTreeAt(folder);
    }
}

void TransferCommands::deleteTree()
{
    if (m_panes.treeSelectedLevel() < 2)
        return;
    WaitCursor wait;
    const QString path = withoutTrailingSlash(m_panes.treeSelectedPath());
    if (!isFolder(path)) {
        Prompter::instance().error(path + QStringLiteral("not found"));
        return;
    }
    const QString parent = PathText::folderOf(path);
    m_panes.rebuildTreeAt(parent);
    if (RunTransfer(FileOperationKind::Delete, {path}, {})) {
        m_panes.rebuildTreeAt(parent);
        NotifyChange(ChangeEvent::UpdateDir, parent);
    } else {
        m_panes.rebuildTreeAt(path);
    }
}

// ---- Rename -------------------------------------------------------------------------------

void TransferCommands::startRename()
{
    if (m_panes.treeIsActive()) {
        if (m_panes.treeSelectedLevel() >= 2)
            m_panes.startTreeRename(m_panes.treeSelectedPath());
    } else {
        startListRename();
    }
    // The recent folders are updated as the editing starts, before the new name is known.
    afterChange();
}

void TransferCommands::startListRename()
{
    const QList<ListEntry> selected = m_panes.selectedEntries();
    if (selected.isEmpty())
        return;
    const ListEntry& entry = selected.first();
    if (m_panes.listReadOnly() || entry.attributes.toUpper() == QLatin1String("R")) {
        Prompter::instance().warning(QStringLiteral("It's ReadOnly"));
        return;
    }
    NotifyChange(ChangeEvent::RenameItem, listFolder());
    m_panes.startListRename(entry.fullPath);
}

bool TransferCommands::renameListItem(const QString& oldPath, const QString& text, const QString& kind)
{
    WaitCursor wait;
    const QString folder = PathText::folderOf(oldPath);
    const QString newPath = joined(folder, text);
    if (text.isEmpty() || newPath == withoutTrailingSlash(oldPath))
        return false;
    if (!isValidEntryName(text)) {
        Prompter::instance().error(QStringLiteral("Error - Invalid File Name\r") + text);
        return false;
    }
    const bool ok = RunTransfer(FileOperationKind::Rename, {oldPath}, {newPath});
    if (kind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0) {
        // The tree holds the folder's old name: it is built again at the list's folder.
        m_panes.rebuildTreeAt(folder);
        m_panes.selectInList(ok ? newPath : oldPath);
    } else {
        m_panes.refreshListInPlace(ok ? newPath : QString());
    }
    return ok;
}

bool TransferCommands::hasInvalidFolderChar(const QString& name)
{
    static const QString invalid = QStringLiteral("\\*?/=\"<>|:,;+^");
    for (const QChar c : name) {
        if (invalid.contains(c) || c == QChar(0))
            return true;
    }
    return false;
}

bool TransferCommands::renameTreeFolder(const QString& oldPath, const QString& text)
{
    if (text.isEmpty() || text == nameOf(oldPath))
        return false;
    if (hasInvalidFolderChar(text) || !isValidEntryName(text)) {
        Prompter::instance().error(QStringLiteral("Error - Invalid Directory Name\r") + text);
        return false;
    }
    const QString oldName = nameOf(oldPath);
    if (!Prompter::instance().confirm(QStringLiteral("Do you want to rename the selected folder\r\r    From  : ") + oldName
                                      + QStringLiteral("\r") + QStringLiteral("    To     : ") + text))
        return false;
    WaitCursor wait;
    const QString newPath = joined(PathText::folderOf(oldPath), text);
    if (!RunTransfer(FileOperationKind::Rename, {withoutTrailingSlash(oldPath)}, {newPath}))
        return false;
    m_panes.rebuildTreeAt(newPath);
    return true;
}

// ---- New folder, new text file ------------------------------------------------------------

QString TransferCommands::freeFolderName(const QString& parent, int firstNumber)
{
    const QString base = QStringLiteral("New Folder");
    const QString folder = withoutTrailingSlash(parent);
    QString name = base;
    for (int n = firstNumber; LocalFiles::entryExists(joined(folder, name)); ++n)
        name = base + QLatin1Char('(') + QString::number(n) + QLatin1Char(')');
    return name;
}

bool TransferCommands::newFolder()
{
    const int level = m_panes.treeSelectedLevel();
    if (level < 0)
        return false;
    if (level == 0) {
        Prompter::instance().error(QStringLiteral("Can't add drives"));
        return false;
    }
    const QString parent = withoutTrailingSlash(m_panes.treeSelectedPath());
    const QString name = freeFolderName(parent, 0);
    if (hasInvalidFolderChar(name)) {
        Prompter::instance().error(QStringLiteral("Folder Name contains invalid characters"));
        return false;
    }
    const QString path = joined(parent, name);
    if (!LocalFiles::makeFolder(path))
        return false;
    NotifyChange(ChangeEvent::MakeFolder, path);
    m_panes.rebuildTreeAt(path);
    if (name == QLatin1String("New Folder"))
        m_panes.startTreeRename(path);
    return true;
}

QString TransferCommands::newFolderInList()
{
    const QString folder = listFolder();
    if (folder.isEmpty())
        return QString();
    const QString path = joined(folder, freeFolderName(folder, 2));
    if (!LocalFiles::makeFolder(path))
        return QString(); // not reported, as the list's own shortcut has always done
    NotifyChange(ChangeEvent::MakeFolder, path);
    // The list stays in its folder, where it was, with the new folder selected when folders
    // are listed; the tree shows the new folder below the current one.
    m_panes.showFolderInTree(path);
    m_panes.refreshListInPlace(path);
    return path;
}

QString TransferCommands::freeTextFileName(const QString& folder)
{
    const QString base = withoutTrailingSlash(folder);
    QString path = joined(base, QStringLiteral("Newtext.txt"));
    for (int n = 0; LocalFiles::entryExists(path); ++n)
        path = joined(base, QStringLiteral("Newtext") + QString::number(n) + QStringLiteral(".txt"));
    return path;
}

QString TransferCommands::newTextFile()
{
    const QString folder = m_panes.treeSelectedPath();
    if (!isFolder(folder))
        return QString();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = freeTextFileName(folder);
        // Made exclusively: a file that appeared meanwhile is never truncated.
        const int fd = ::open(FileName::encode(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            NotifyChange(ChangeEvent::Create, withoutTrailingSlash(folder));
            m_panes.refreshList();
            m_panes.selectInList(path);
            return path;
        }
        if (errno != EEXIST) {
            Prompter::instance().error(QStringLiteral("Cannot create \"") + path + QStringLiteral("\":\r\n")
                                       + QString::fromLocal8Bit(strerror(errno)));
            return QString();
        }
    }
    return QString();
}

// ---- Copy to, move to, properties, select all ---------------------------------------------

void TransferCommands::copyTo(bool move)
{
    const QString verb = move ? QStringLiteral("Move ") : QStringLiteral("Copy ");
    if (m_panes.treeIsActive()) {
        const QString folder = m_panes.treeSelectedPath();
        QStringList candidates;
        if (!folder.isEmpty())
            candidates << withoutTrailingSlash(folder);
        sendTo(verb + folder + QStringLiteral(" to..."), listFolder(), candidates, move, true);
        return;
    }
    QStringList candidates;
    for (const ListEntry& entry : m_panes.selectedEntries())
        candidates << entry.fullPath;
    sendTo(selectedTitle(verb, candidates.size(), move), listFolder(), candidates, move, false);
}

void TransferCommands::copyFileTo(const QString& path, bool move)
{
    const QString verb = move ? QStringLiteral("Move ") : QStringLiteral("Copy ");
    sendTo(selectedTitle(verb, 1, move), withoutTrailingSlash(PathText::folderOf(path)), {path}, move, false);
}

void TransferCommands::sendTo(const QString& title, const QString& folder, const QStringList& candidates, bool move, bool fromTree)
{
    const QString chosen = BrowseForFolder(title, folder);
    if (!isFolder(chosen) || withoutTrailingSlash(chosen) == folder)
        return;
    QStringList sources;
    for (const QString& path : candidates) {
        if (fromTree || LocalFiles::entryExists(path))
            sources << path;
    }
    if (sources.isEmpty())
        return;
    if (move && m_returnToFileManager)
        m_returnToFileManager();
    const QString target = withoutTrailingSlash(chosen);
    if (!RunTransfer(move ? FileOperationKind::Move : FileOperationKind::Copy, sources,
                     {PathText::withTrailingSlash(target)}))
        return;
    NotifyChange(ChangeEvent::UpdateDir, target);
    if (move) {
        const QString parent = PathText::folderOf(folder);
        NotifyChange(ChangeEvent::UpdateDir, parent);
        m_panes.rebuildTreeAt(fromTree ? parent : folder);
        afterChange();
    } else {
        m_panes.refreshList();
    }
}

QString TransferCommands::propertiesPath() const
{
    if (m_panes.treeIsActive())
        return m_panes.treeSelectedPath();
    const QList<ListEntry> selected = m_panes.selectedEntries();
    return selected.isEmpty() ? QString() : selected.first().fullPath;
}

void TransferCommands::selectAll()
{
    m_panes.selectAllInList(m_panes.selectedCount() == 0);
}

// ---- Enabling -----------------------------------------------------------------------------

bool TransferCommands::canPaste() const
{
    QClipboard* clipboard = systemClipboard();
    return !m_clipboard.listSource().isEmpty() || (clipboard && FileDropMime::hasFiles(clipboard->mimeData()));
}

bool TransferCommands::canPasteInActivePane() const
{
    return m_panes.treeIsActive() ? m_clipboard.pastePending() && m_clipboard.mode() != TransferMode::None : canPaste();
}

bool TransferCommands::activePaneFolderExists() const
{
    return isFolder(m_panes.treeIsActive() ? m_panes.treeSelectedPath() : m_panes.listDirectory());
}

TransferCommands::FileMenuState TransferCommands::fileMenuState() const
{
    FileMenuState state;
    const int level = m_panes.treeSelectedLevel();
    const bool shown = activePaneFolderExists();
    state.newTextFile = isFolder(m_panes.treeSelectedPath()) && shown;
    state.newFolder = state.newTextFile && level > 0;
    state.properties = level > 0;
    state.moveTo = level >= 2 && shown;
    return state;
}

TransferCommands::ListPopupState TransferCommands::listPopupState() const
{
    ListPopupState state;
    state.needsSelection = m_panes.selectedCount() > 0;
    state.paste = canPaste();
    state.newFolder = isFolder(m_panes.listDirectory());
    return state;
}

TransferCommands::TreePopupState TransferCommands::treePopupState() const
{
    TreePopupState state;
    const int level = m_panes.treeSelectedLevel();
    state.belowRoot = level > 0;
    state.belowDrive = level >= 2;
    state.paste = state.belowRoot && m_clipboard.pastePending();
    return state;
}
