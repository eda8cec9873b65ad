#include "internet/WebProfileFolders.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/linux/FileCopier.h"

#include <QStandardPaths>

namespace {

const QString kProfileFolder = QStringLiteral("/QuorVel/Folvane3/WebEngine");

Status emptyFolder(const QString& folder)
{
    Status outcome;
    for (const QString& name : LocalFiles::entryNames(folder)) {
        if (const Status removed = FileCopier::removeTree(FileName::encode(folder + QLatin1Char('/') + name), {}); !removed)
            outcome = removed;
    }
    return outcome;
}

} // namespace

QString WebProfileFolders::dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + kProfileFolder;
}

QString WebProfileFolders::cacheFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + kProfileFolder;
}

Status WebProfileFolders::clearCache()
{
    return emptyFolder(cacheFolder());
}

Status WebProfileFolders::clearHistory()
{
    return emptyFolder(dataFolder());
}
