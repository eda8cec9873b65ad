// Photographs the progress dialog of a Zip Fix batch in the middle of its run, with the
// report lines of the archives already repaired. Run it on a display (Xvfb, as
// scripts/fileops-dialogs.sh runs the file operations' dialogs).
//
//   zipfix_dialog_shot OUTDIR
#include "archive/tools/ZipFixBranch.h"
#include "fileops/BatchLoop.h"
#include "fileops/ui/TFolProgress_Dlg.h"

#include "support/ScreenPhoto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

// A small tree zipped by Info-ZIP's zip, then cut short and overwritten in its middle, as a
// broken download leaves it.
QString damagedArchive(const QString& folder, int number)
{
    const QString tree = folder + QStringLiteral("/tree%1").arg(number);
    QDir().mkpath(tree + QStringLiteral("/letters"));
    for (int i = 0; i < 12; ++i) {
        QFile file(tree + QStringLiteral("/letters/letter %1.txt").arg(i));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray("Dear reader, number ").append(QByteArray::number(i * number)).repeated(40 + i));
    }
    const QString archive = folder + QStringLiteral("/backup %1.zip").arg(number);
    QProcess zip;
    zip.setWorkingDirectory(tree);
    zip.start(QStringLiteral("zip"), {QStringLiteral("-qr"), archive, QStringLiteral(".")});
    zip.waitForFinished();
    QFile file(archive);
    if (file.open(QIODevice::ReadWrite)) {
        const qint64 size = file.size();
        file.seek(size / 3);
        file.write(QByteArray(64, '\x55'));
        file.resize(size * 2 / 3);
    }
    return archive;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: zipfix_dialog_shot OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    QDir().mkpath(work.path() + QStringLiteral("/reclaimed"));
    QStringList archives;
    for (int i = 1; i <= 10; ++i)
        archives << damagedArchive(work.path(), i);

    // The repair of archives this small is quicker than a photograph: each waits a little.
    ZipFixBranch::registerBranch();
    BatchBranch slowed = *BatchBranches::find(opZipFix);
    const auto run = slowed.run;
    slowed.run = [run](const BatchItem& item, const QString& newName) {
        const BatchItemResult result = run(item, newName);
        QThread::msleep(400);
        return result;
    };
    BatchBranches::set(opZipFix, slowed);

    ConfirmResults options;
    options.target = work.path() + QStringLiteral("/reclaimed/");
    QTimer::singleShot(2500, [out] { photographScreen(out, QStringLiteral("progress-zipfix.png")); });
    RunBatchDialog(nullptr, QStringLiteral("Zip Fix..."), opZipFix, archives, options, false);
    return 0;
}
