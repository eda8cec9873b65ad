#include "archive/ui/ZipToolsMenus.h"

#include "archive/tools/ZipFixBranch.h"
#include "archive/tools/ZipWorkList.h"
#include "fileops/WorkList.h"
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
    ZipFixBranch::registerBranch();
    QMenu* fileTools = context.menu(MainMenu::FileTools);
    fileTools->addSeparator();
    m_toolsForZipFiles = fileTools->addMenu(QStringLiteral("Tools for Zip files..."));
    m_toolsForZipFiles->setObjectName(QStringLiteral("MenuToolsForZipFiles"));
    add(m_toolsForZipFiles, "MenuZipFix", QStringLiteral("Zip Fix"), &ZipToolsMenus::MenuZipFixClick);

    m_popupMenuZip = new QMenu(context.window());
    m_popupMenuZip->setObjectName(QStringLiteral("PopupMenuZip"));
    add(m_popupMenuZip, "PopUpMenuZipFix", QStringLiteral("Fix Zip"), &ZipToolsMenus::MenuZipFixClick)->setToolTip(QStringLiteral("Zip Fix"));
    QToolButton* unZip = context.button(BandButton::UnZip);
    unZip->setToolTip(QStringLiteral("Zip tools"));
    unZip->setMenu(m_popupMenuZip);
    unZip->setPopupMode(QToolButton::MenuButtonPopup);

    m_popupFileZip = new QMenu(QStringLiteral("Zip Tools"), transfer.PopupMenuFile());
    m_popupFileZip->setObjectName(QStringLiteral("PopupFileZipTools"));
    transfer.PopupMenuFile()->addMenu(m_popupFileZip);
    add(m_popupFileZip, "PopupFileZipFix", QStringLiteral("Zip Fix"), &ZipToolsMenus::MenuZipFixClick);
}

QAction* ZipToolsMenus::add(QMenu* menu, const char* name, const QString& caption, void (ZipToolsMenus::*handler)())
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

bool ZipToolsMenus::collectZipFiles()
{
    WorkListJob job(m_transfer.panes().selectedEntries(), false);
    RunJob(job, QStringLiteral("Collecting files..."));
    m_transfer.setWorkList(job.isCancelled() ? QStringList() : ZipWorkList::zipFiles(job.files()));
    return !m_transfer.workList().isEmpty();
}

void ZipToolsMenus::MenuZipFixClick()
{
    if (m_context.currentMode() != vmFileManager || !collectZipFiles())
        return;
    const QString target = m_transfer.askActionTarget(opZipFix);
    if (target.isEmpty())
        return;
    const BatchEnd end = RunBatchDialog(m_context.window(), QStringLiteral("Zip fix..."), opZipFix, m_transfer.workList(),
                                        m_transfer.confirmResults(), false);
    if (end == BatchEnd::Failed)
        Prompter::instance().error(ZipFixBranch::failure());
    NotifyChange(ChangeEvent::UpdateDir, PathText::withoutTrailingSlash(target));
    m_transfer.panes().refreshList();
}
