#include "archive/ui/ZipToolsMenus.h"

#include "archive/tools/TotalSizeJob.h"
#include "archive/tools/ZipBatchFailure.h"
#include "archive/tools/ZipBranches.h"
#include "archive/tools/ZipQuestions.h"
#include "archive/tools/ZipToExeBranch.h"
#include "archive/tools/ZipWorkList.h"
#include "archive/ui/ZipPasswordDialog.h"
#include "browse/FileFormat.h"
#include "fileops/ui/TFolProgress_Dlg.h"
#include "fileops/ui/TransferMenus.h"
#include "platform/ChangeNotices.h"
#include "platform/JobWaiter.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

ZipToolsMenus::ZipToolsMenus(WindowContext& context, TransferMenus& transfer)
    : QObject(context.window()), m_context(context), m_transfer(transfer)
{
    RegisterZipBranches();
    QWidget* window = context.window();
    ZipQuestions::setPasswordDialog([window] { return ZipPasswordDialog::ask(window); });
    buildMenus();
    connect(context.button(BandButton::Zip), &QToolButton::clicked, this, &ZipToolsMenus::MenuZipClick);
    QToolButton* unZip = context.button(BandButton::UnZip);
    unZip->setToolTip(QStringLiteral("Zip tools"));
    unZip->setMenu(m_popupMenuZip);
    unZip->setPopupMode(QToolButton::MenuButtonPopup);
    connect(unZip, &QToolButton::clicked, this, &ZipToolsMenus::MenuUnZipClick);
}

void ZipToolsMenus::buildMenus()
{
    QMenu* fileTools = m_context.menu(MainMenu::FileTools);
    fileTools->addSeparator();
    add(fileTools, "MenuZip", QStringLiteral("Zip"), &ZipToolsMenus::MenuZipClick);
    m_toolsForZipFiles = fileTools->addMenu(QStringLiteral("Tools for Zip files..."));
    m_toolsForZipFiles->setObjectName(QStringLiteral("MenuToolsForZipFiles"));
    add(m_toolsForZipFiles, "Unzip1", QStringLiteral("Unzip"), &ZipToolsMenus::MenuUnZipClick);
    add(m_toolsForZipFiles, "MenuZipToEXE", QStringLiteral("Zip to EXE"), &ZipToolsMenus::MenuZiptoExeClick);
    add(m_toolsForZipFiles, "MenuZipFix", QStringLiteral("Zip Fix"), &ZipToolsMenus::MenuZipFixClick);

    m_popupMenuZip = new QMenu(m_context.window());
    m_popupMenuZip->setObjectName(QStringLiteral("PopupMenuZip"));
    add(m_popupMenuZip, "PopUpMenuZiptoExe", QStringLiteral("Zip to Exe"), &ZipToolsMenus::MenuZiptoExeClick);
    add(m_popupMenuZip, "PopUpMenuZipFix", QStringLiteral("Fix Zip"), &ZipToolsMenus::MenuZipFixClick)->setToolTip(QStringLiteral("Zip Fix"));

    QMenu* popupFile = m_transfer.PopupMenuFile();
    auto* send = new QMenu(QStringLiteral("Send ..."), popupFile);
    send->setObjectName(QStringLiteral("PopupFileSend"));
    popupFile->addMenu(send);
    add(send, "PopupFileZipFile", QStringLiteral("Zip"), &ZipToolsMenus::MenuZipClick);
    m_popupFileZip = new QMenu(QStringLiteral("Zip Tools"), popupFile);
    m_popupFileZip->setObjectName(QStringLiteral("PopupFileZipTools"));
    popupFile->addMenu(m_popupFileZip);
    add(m_popupFileZip, "PopupFileZip", QStringLiteral("Zip"), &ZipToolsMenus::MenuZipClick);
    add(m_popupFileZip, "PopupFileUnZip", QStringLiteral("UnZip"), &ZipToolsMenus::MenuUnZipClick);
    add(m_popupFileZip, "PopupFileZipToExe", QStringLiteral("Zip To EXE"), &ZipToolsMenus::MenuZiptoExeClick);
    add(m_popupFileZip, "PopupFileZipFix", QStringLiteral("Zip Fix"), &ZipToolsMenus::MenuZipFixClick);
}

QAction* ZipToolsMenus::add(QMenu* menu, const char* name, const QString& caption, void (ZipToolsMenus::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

bool ZipToolsMenus::collectFiles(bool folderMode)
{
    BrowsePanes& panes = m_transfer.panes();
    // The folder itself, walked whole: the list may hide its subfolders or mask its files,
    // and the tree's popup may name a folder the list does not show.
    QList<ListEntry> rows = panes.selectedEntries();
    if (folderMode)
        rows = {ListEntry{panes.treeSelectedPath(), QString(), QString(), QStringLiteral("dir"), true, false}};
    return m_transfer.collectWorkList(rows);
}

bool ZipToolsMenus::collectZipFiles()
{
    return m_transfer.collectWorkList(m_transfer.panes().selectedEntries(), ZipWorkList::zipFiles);
}

bool ZipToolsMenus::sizeAccepted()
{
    TotalSizeJob job(m_transfer.workList());
    RunJob(job, QStringLiteral("Collecting files..."));
    if (job.isCancelled())
        return false;
    if (job.total() <= TotalSizeJob::kQuestionAbove)
        return true;
    return Prompter::instance().confirm(QStringLiteral("Files total size= ") + FormatFileSize(job.total()) + QStringLiteral("\r\n")
                                        + QStringLiteral("Do you want to try Ziping???"));
}

void ZipToolsMenus::runBatch(const QString& action, int code, bool itemMeter, const QString& changedFolder)
{
    ZipBatchFailure::set(QString());
    RunBatchDialog(m_context.window(), action, OperationCode(code), m_transfer.workList(), m_transfer.confirmResults(), itemMeter);
    const QString failure = ZipBatchFailure::text();
    if (!failure.isEmpty())
        Prompter::instance().error(failure);
    NotifyChange(ChangeEvent::UpdateDir, PathText::withoutTrailingSlash(changedFolder));
    m_transfer.panes().refreshList();
}

void ZipToolsMenus::MenuZipClick()
{
    zip(m_transfer.panes().treeIsActive());
}

void ZipToolsMenus::zipFolder()
{
    zip(true);
}

void ZipToolsMenus::zip(bool folderMode)
{
    const QString folder = m_transfer.panes().treeSelectedPath();
    if (m_context.currentMode() != vmFileManager || folder.isEmpty() || !collectFiles(folderMode))
        return;
    const QString proposal = folderMode ? PathText::withoutTrailingSlash(folder) + QStringLiteral(".ZIP")
                                        : PathText::joined(folder, QStringLiteral("folvane.zip"));
    const QString archive = m_transfer.askActionTarget(folderMode ? opZipFolder : opZip, proposal);
    if (archive.isEmpty() || !sizeAccepted())
        return;
    runBatch(QStringLiteral("Zip... ") + PathText::nameOf(archive), opZip, true, PathText::folderOf(archive));
}

void ZipToolsMenus::archiveBatch(int code, const QString& action, bool itemMeter)
{
    if (m_context.currentMode() != vmFileManager || !collectZipFiles())
        return;
    const QString target = m_transfer.askActionTarget(OperationCode(code));
    if (target.isEmpty())
        return;
    ZipToExeBranch::setSmallStub(m_useSmallStub && m_useSmallStub());
    runBatch(action, code, itemMeter, target);
}

void ZipToolsMenus::MenuUnZipClick()
{
    archiveBatch(opUnzip, QStringLiteral("UnZip..."), true);
}

void ZipToolsMenus::MenuZiptoExeClick()
{
    archiveBatch(opZipToExe, QStringLiteral("Zip to Exe..."), false);
}

void ZipToolsMenus::MenuZipFixClick()
{
    archiveBatch(opZipFix, QStringLiteral("Zip fix..."), false);
}
