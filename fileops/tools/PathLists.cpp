#include "fileops/tools/PathLists.h"

#include "fileops/tools/FileToolNames.h"
#include "fileops/tools/NoReplaceMove.h"
#include "fileops/tools/TemporaryFile.h"
#include "platform/FileName.h"
#include "platform/PathText.h"
#include "platform/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

namespace PathLists {

namespace {

constexpr int kMaxTextFileNumber = 10000;

} // namespace

QString lines(const QStringList& items)
{
    QString text;
    for (const QString& item : items)
        text += item + QLatin1Char('\n');
    return text;
}

QString createNewTextFile(const QString& folder, const QByteArray& content, QString* error)
{
    const QByteArray base = FileName::encode(PathText::withoutTrailingSlash(folder));
    // A new text file gets the mode the user's umask gives any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const QByteArray temp = TemporaryFile::write(PathText::joined(base, QByteArray(".Newtext.")), content, 0666 & ~mask, error);
    if (temp.isEmpty())
        return QString();
    for (int n = -1; n < kMaxTextFileNumber; ++n) {
        const QByteArray name = "Newtext" + (n < 0 ? QByteArray() : QByteArray::number(n)) + ".txt";
        const QByteArray path = PathText::joined(base, name);
        switch (NoReplaceMove::move(temp, path, error)) {
        case NoReplaceMove::Outcome::Done: return FileName::decode(path);
        case NoReplaceMove::Outcome::Exists: continue;
        case NoReplaceMove::Outcome::Failed: break;
        }
        break;
    }
    if (error->isEmpty())
        *error = QStringLiteral("No free Newtext name.");
    ::unlink(temp.constData());
    return QString();
}

QString makeShortcut(const QString& target, const QString& folder)
{
    const QString path = PathText::withoutTrailingSlash(target);
    const QString stem = FileToolNames::split(PathText::nameOf(path)).stem;
    const QString link = PathText::joined(PathText::withoutTrailingSlash(folder), FileName::display(stem) + QStringLiteral(".desktop"));
    if (!CreateShortcut(path, PathText::folderOf(path), link))
        return QStringLiteral("Shortcut for ") + path + QStringLiteral(" failed.");
    return QString();
}

} // namespace PathLists
