#include "viewers/text/EditorRecovery.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "viewers/text/TextFileSaver.h"

#include <QDateTime>
#include <QStandardPaths>

QString EditorRecovery::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/QuorVel/Folvane3/Recovery");
}

QString EditorRecovery::write(const QString& editedPath, const QByteArray& bytes, ViewerStatus* error)
{
    const QString dir = folder();
    LocalFiles::makePath(dir);
    QString name = editedPath.mid(editedPath.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty())
        name = QStringLiteral("untitled");
    const QString path = dir + QLatin1Char('/') + name + QLatin1Char('.')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".recovered");
    const ViewerStatus status = TextFileSaver::save(path, bytes, false);
    if (error)
        *error = status;
    return status ? path : QString();
}
