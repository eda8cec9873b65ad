#include "viewers/ui/MovieImageMenu.h"

#include "platform/ui/FileAction.h"
#include "platform/ui/WindowContext.h"

#include <QAction>

MovieImageMenu::MovieImageMenu(WindowContext& context, std::function<QString()> shownFile, std::function<void()> copy, QWidget* parent)
    : QMenu(parent)
    , m_context(context)
    , m_shownFile(std::move(shownFile))
{
    setObjectName(QStringLiteral("PopupMenuMovieImages"));
    if (copy)
        m_copy = addItem(QStringLiteral("Copy"), "PopupMenuMovieImageCopy", std::move(copy));
    addItem(QStringLiteral("Delete"), "PopupMenuMovieImageDelete", [this] { runWindowAction("MenuDelete", true); });
    addItem(QStringLiteral("Move to..."), "PopupMenuMovieImageMoveTo", [this] { runWindowAction("MenuMoveTo", true); });
    addItem(QStringLiteral("Copy to..."), "PopupMenuMovieImageCopyTo", [this] { runWindowAction("MenuCopyTo", false); });
    addItem(QStringLiteral("Email"), "PopupMenuMovieImageEmail", [this] { runWindowAction("MenuMail", false); });
    addItem(QStringLiteral("Close"), "PopUpMenuMovieClose", [this] { m_context.switchMode(vmFileManager, m_shownFile()); });
    addItem(QStringLiteral("Properties"), "PopupMenuMovieImageProperties", [this] { runWindowAction("MenuProperties", false); });
}

QAction* MovieImageMenu::addItem(const QString& caption, const char* name, std::function<void()> run)
{
    QAction* item = addAction(caption);
    item->setObjectName(QLatin1String(name));
    connect(item, &QAction::triggered, this, std::move(run));
    return item;
}

void MovieImageMenu::runWindowAction(const char* name, bool fromFileManager)
{
    if (fromFileManager)
        m_context.switchMode(vmFileManager, m_shownFile());
    // The file shown goes with the command, so it is acted on whichever of the folder tree
    // and the file list had the focus last.
    if (auto* action = m_context.window()->findChild<QAction*>(QLatin1String(name)))
        FileAction::trigger(action, m_shownFile());
}
