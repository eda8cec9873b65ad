#include "internet/ui/UrlRipMenu.h"

#include "browse/BrowseNavigator.h"
#include "internet/ui/TURLFileDlg.h"
#include "platform/ui/WindowContext.h"

#include <QAction>
#include <QMenu>

UrlRipMenu::UrlRipMenu(WindowContext& context, QObject* parent)
    : QObject(parent), m_context(context)
{
    MenuURLRip = context.menu(MainMenu::Tools)->addAction(QStringLiteral("URL download"));
    MenuURLRip->setObjectName(QStringLiteral("MenuURLRip"));
    connect(MenuURLRip, &QAction::triggered, this, &UrlRipMenu::MenuURLRipClick);
}

void UrlRipMenu::MenuURLRipClick()
{
    TURLFileDlg dialog(m_context.navigator().currentFolder(), m_context.window());
    dialog.exec();
}
