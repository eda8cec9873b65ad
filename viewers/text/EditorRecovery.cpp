#include "viewers/text/EditorRecovery.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/linux/FileCopier.h"
#include "viewers/text/TextFileSaver.h"

#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

QString EditorRecovery::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/QuorVel/Folvane3/Recovery");
}

QString EditorRecovery::write(const QString& editedPath, const QByteArray& bytes, ViewerStatus* error)
{
    const QString dir = folder();
    LocalFiles::makePath(dir);
    QString name = PathText::nameOf(editedPath);
    if (name.isEmpty())
        name = QStringLiteral("untitled");
    const QString path = dir + QLatin1Char('/') + name + QLatin1Char('.')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")) + QStringLiteral(".recovered");
    const ViewerStatus status = TextFileSaver::save(path, bytes, false);
    if (error)
        *error = status;
    return status ? path : QString();
}

QStringList EditorRecovery::takeUntold()
{
    QStringList told;
    const QDir dir(folder());
    const QStringList names = dir.entryList({QStringLiteral("*.recovered")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        const QString kept = dir.filePath(name + QStringLiteral(".txt"));
        // A plain rename would replace a file of that name; this one never does.
        bool crossDevice = false;
        const Result<FileCopier::Step> moved
            = FileCopier::renameNoReplace(FileName::encode(dir.filePath(name)), FileName::encode(kept), &crossDevice);
        if (moved && *moved == FileCopier::Step::Done)
            told << kept;
    }
    return told;
}
