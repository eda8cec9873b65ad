#include "sync/ui/SyncMenus.h"

#include "browse/BrowseNavigator.h"
#include "platform/ui/WindowContext.h"
#include "sync/ui/TSynchDlg.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

SyncMenus::SyncMenus(WindowContext& context, const SyncPairLists& lists)
    : QObject(context.window())
    , m_context(context)
    , m_lists(lists)
{
    m_menuSync = context.menu(MainMenu::Tools)->addAction(QStringLiteral("Sync Folders"));
    m_menuSync->setObjectName(QStringLiteral("MenuSync"));
    connect(m_menuSync, &QAction::triggered, this, &SyncMenus::MenuSyncClick);
    connect(context.button(BandButton::Sync), &QToolButton::clicked, this, &SyncMenus::MenuSyncClick);
}

void SyncMenus::MenuSyncClick()
{
    TSynchDlg dialog(m_context.navigator().lastFolder(), m_lists, m_context.window());
    dialog.exec();
}
