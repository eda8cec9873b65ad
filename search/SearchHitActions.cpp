#include "search/SearchHitActions.h"

#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/PathText.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "search/SearchListFile.h"

namespace {

QStringList pathsOf(const std::vector<SearchHit>& hits)
{
    QStringList paths;
    for (const SearchHit& hit : hits)
        paths.append(FileName::decode(hit.path()));
    return paths;
}

void reportFailure(const QString& text)
{
    Prompter::instance().ask(PromptKind::Error, PromptButton::Ok, text, SearchHitActions::kErrorCaption);
}

} // namespace

bool SearchHitActions::deleteHits(const std::vector<SearchHit>& hits)
{
    if (hits.empty())
        return true;
    const FileOperationResult result =
        RunFileOperation(FileOperationKind::Delete, pathsOf(hits), {}, FileOperationFlag::AllowUndo);
    if (!result.ok())
        reportFailure(kDeleteFailed);
    return result.ok();
}

bool SearchHitActions::transferHits(const std::vector<SearchHit>& hits, bool move, const QString& startFolder)
{
    const QString folder = Pickers::instance().pickFolder(QStringLiteral("Browse"), startFolder);
    if (folder.isEmpty() || hits.empty())
        return false;
    const FileOperationResult result = RunFileOperation(move ? FileOperationKind::Move : FileOperationKind::Copy,
                                                        pathsOf(hits), {folder}, FileOperationFlag::AllowUndo);
    if (!result.ok())
        reportFailure(kTransferFailed);
    return result.ok();
}

bool SearchHitActions::saveList(const std::vector<SearchHit>& hits, const QString& startFolder)
{
    const QString chosen = Pickers::instance().saveFile(
        QStringLiteral("Create search list text file"), PathText::joined(startFolder, SearchListFile::kDefaultName),
        QStringLiteral("Text files (*.txt);;All files (*)"));
    if (chosen.isEmpty())
        return false;
    const QString path = SearchListFile::withDefaultExtension(chosen);
    std::vector<QByteArray> lines;
    for (const SearchHit& hit : hits)
        lines.push_back(hit.path());
    QString error;
    if (!SearchListFile::write(path, lines, &error)) {
        Prompter::instance().error(error);
        return false;
    }
    Prompter::instance().information(path + QStringLiteral("\r\n") + QStringLiteral("Created from selected files."));
    return true;
}
