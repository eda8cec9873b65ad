#include "platform/ui/FileAction.h"

#include <QAction>
#include <QVariant>

void FileAction::trigger(QAction* action, const QString& file)
{
    action->setData(file.isEmpty() ? QVariant() : QVariant(file));
    action->trigger();
    action->setData(QVariant());
}

QString FileAction::fileOf(const QObject* sender)
{
    const auto* action = qobject_cast<const QAction*>(sender);
    return action ? action->data().toString() : QString();
}
