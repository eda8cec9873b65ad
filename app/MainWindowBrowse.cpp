#include "app/MainWindowBrowse.h"

#include "app/MainWindowControls.h"
#include "app/StartFolder.h"
#include "app/TFormMainFolvane3.h"
#include "app/TSplashForm.h"
#include "browse/BrowsePaths.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

MainWindowBrowse::MainWindowBrowse(TFormMainFolvane3* window, MainWindowControls& c)
    : QObject(window)
    , m_window(window)
    , m_c(c)
{
    // The window's own menus replace the components' context menus.
    c.TabControlDriveFol1->setPopUpMenuEnabled(false);
    c.PathViewFol1->setPopUpMenuEnabled(false);
    c.TabControlDriveFol1->setTreeView(c.PathViewFol1);
    c.PathViewFol1->setFileList(c.FileViewFol1);
    c.PathViewFol1->setDriveTabs(c.TabControlDriveFol1);
    c.FileViewFol1->setDirTree(c.PathViewFol1);

    connect(c.PathViewFol1, &TPathViewFol::dirChanged, this, &MainWindowBrowse::PathViewFol1DirChange);
    connect(c.FileViewFol1, &TFileViewFol::loadProgress, window, &TFormMainFolvane3::loadProgress);
    connect(c.FileViewFol1, &TFileViewFol::viewSelected, window, &TFormMainFolvane3::viewSelected);
    // Until the program's own viewers take the View command, a file is opened with its
    // associated program.
    connect(c.MenuViewFile, &QAction::triggered, this, &MainWindowBrowse::openFileWithShell);
}

void MainWindowBrowse::goToFolder(const QString& folder)
{
    const QString path = withSlash(QDir::cleanPath(folder));
    m_window->setCurrentPath(path);
    TPathViewFol* tree = m_c.PathViewFol1;
    TFileViewFol* list = m_c.FileViewFol1;
    tree->setUpdatesEnabled(false);
    list->setUpdatesEnabled(false);
    tree->RebuildTree();
    QCoreApplication::processEvents();
    tree->GoToPath(path);
    tree->setSelectedPath(path);
    QCoreApplication::processEvents();
    list->setDirectoryDirect(path);
    list->RefreshList();
    tree->setUpdatesEnabled(true);
    list->setUpdatesEnabled(true);
}

QString MainWindowBrowse::fallbackFolder() const
{
    const QString nearest = StartFolder::nearestExisting(m_window->CurrentPath());
    return nearest.isEmpty() ? QDir::homePath() : nearest;
}

void MainWindowBrowse::openInFileManager(const QString& folder)
{
    if (m_window->CurrentMode() != vmFileManager)
        m_window->enterMode(vmFileManager);
    const bool exists = !folder.isEmpty() && QFileInfo(folder).isDir();
    goToFolder(exists ? QFileInfo(folder).absoluteFilePath() : fallbackFolder());
}

void MainWindowBrowse::applyFileFilters(bool showHiddenSystem)
{
    TFileType type = TFileAttr::ftReadOnly | TFileAttr::ftArchive | TFileAttr::ftNormal;
    if (showHiddenSystem)
        type |= TFileAttr::ftHidden | TFileAttr::ftSystem;
    if (m_c.FileViewFol1->FileType() != type)
        m_c.FileViewFol1->setFileType(type);
    if (m_c.PathViewFol1->FolderType() != type)
        m_c.PathViewFol1->setFolderType(type);
}

void MainWindowBrowse::PathViewFol1DirChange(const QString& selectedPath)
{
    if (QFileInfo(selectedPath).isDir())
        m_window->setCurrentPath(withSlash(selectedPath));
    if (m_window->CurrentMode() != vmFileManager || !m_c.PathViewFol1->isVisible())
        return;
    m_window->UpdateRecentPaths(BrowsePaths::withoutTrailingSlash(selectedPath));
    m_c.PathViewFol1->setFocus();
}

void MainWindowBrowse::openFileWithShell()
{
    const QStringList selected = m_c.FileViewFol1->selectedPaths();
    const QString file = selected.isEmpty() ? QString() : selected.first();
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    const ShellExecuteResult result = ShellExecute(QStringLiteral("Open"), file);
    if (!result.accepted)
        Prompter::instance().error(QStringLiteral("Can not Open file  ") + QFileInfo(file).fileName());
}
