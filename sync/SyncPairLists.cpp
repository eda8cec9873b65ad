#include "sync/SyncPairLists.h"

#include "sync/SyncJob.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <climits>

namespace {

const char kLeftFile[] = "FV3_SYNC1";
const char kRightFile[] = "FV3_SYNC2";

bool readList(const QString& path, std::vector<QByteArray>* lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *lines = SyncPairLists::parseLines(file.read(SyncPairLists::kMaxFileBytes));
    return true;
}

bool writeList(const QString& path, const std::vector<QByteArray>& lines, QString* error)
{
    QSaveFile file(path);
    bool ok = file.open(QIODevice::WriteOnly);
    for (const QByteArray& line : lines) {
        if (!ok)
            break;
        ok = file.write(line + '\n') == line.size() + 1;
    }
    if (ok && file.commit())
        return true;
    *error = QStringLiteral("Cannot save the sync list \"") + path + QStringLiteral("\": ") + file.errorString();
    return false;
}

} // namespace

SyncPairLists::SyncPairLists(const QString& folder)
    : m_folder(folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                      + QStringLiteral("/QuorVel/Folvane3")
                                : folder)
{
}

std::vector<QByteArray> SyncPairLists::parseLines(const QByteArray& bytes)
{
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    while (start < bytes.size() && lines.size() < kMaxPairs) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArray line = bytes.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        // Kept in place even when unusable, so that line n still pairs with line n.
        if (line.contains('\0') || line.size() >= PATH_MAX)
            line.clear();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<SyncPair> SyncPairLists::load() const
{
    std::vector<QByteArray> left;
    std::vector<QByteArray> right;
    std::vector<SyncPair> pairs;
    if (!readList(m_folder + QLatin1Char('/') + QLatin1String(kLeftFile), &left)
        || !readList(m_folder + QLatin1Char('/') + QLatin1String(kRightFile), &right))
        return pairs;
    for (std::size_t i = 0; i < std::min(left.size(), right.size()); ++i) {
        if (!left[i].isEmpty() && !right[i].isEmpty())
            pairs.push_back({left[i], right[i]});
    }
    return pairs;
}

bool SyncPairLists::save(const std::vector<SyncPair>& pairs, QString* error) const
{
    if (!QDir().mkpath(m_folder)) {
        *error = QStringLiteral("Cannot save the sync lists: the folder \"") + m_folder + QStringLiteral("\" cannot be made.");
        return false;
    }
    std::vector<QByteArray> left;
    std::vector<QByteArray> right;
    for (const SyncPair& pair : pairs) {
        left.push_back(pair.left);
        right.push_back(pair.right);
    }
    return writeList(m_folder + QLatin1Char('/') + QLatin1String(kLeftFile), left, error)
        && writeList(m_folder + QLatin1Char('/') + QLatin1String(kRightFile), right, error);
}
