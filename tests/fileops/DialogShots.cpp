// Shows the confirmation dialog for two actions and the progress dialogs during a long copy,
// and photographs the screen while each shows: scripts/fileops-dialogs.sh runs it under Xvfb.
//
//   fileops_dialog_shots OUTDIR
#include "fileops/BatchLoop.h"
#include "fileops/ui/TConfrim_Dlg.h"
#include "fileops/ui/TFolProgress_Dlg.h"
#include "platform/FileName.h"
#include "platform/FileOperation.h"
#include "platform/TransferFaults.h"
#include "platform/ui/ProgressWindowWaiter.h"

#include "support/ScreenPhoto.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString g_out;

void photograph(const QString& name)
{
    photographScreen(g_out, name);
}

// Shows the dialog for one action, photographs it once it has painted, and closes it.
void confirmShot(OperationCode action, const QString& files, const QString& selected, const QString& target,
                 const QString& settings, const QString& name, bool expandZip, bool showHint = false)
{
    ConfirmResults results;
    TConfrim_Dlg dialog(action, results, settings);
    dialog.EditToPathFile->setText(target);
    dialog.LabelActionFiles->setText(files);
    dialog.LabelSelFile->setText(selected);
    QTimer::singleShot(900, &dialog, [&] {
        if (expandZip)
            dialog.ButtonMoreZip->click();
        if (showHint)
            QToolTip::showText(dialog.ImageFileIcon->mapToGlobal(QPoint(16, 16)), dialog.ImageFileIcon->toolTip(),
                               dialog.ImageFileIcon);
        QTimer::singleShot(400, &dialog, [&] {
            photograph(name);
            dialog.reject();
        });
    });
    dialog.exec();
}

QStringList makeFiles(const QString& folder, int count, int size)
{
    QStringList paths;
    const QByteArray bytes(size, 'x');
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/holiday-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        paths << path;
    }
    return paths;
}

// A batch of copies through the batch loop: each item is copied to a numbered name, slowed a
// little so that the photograph finds the dialog in the middle.
void progressShot(const QStringList& work, const QString& target)
{
    BatchBranch branch;
    branch.prepare = [&target](const BatchItem& item) -> QString {
        return target + QStringLiteral("/%1.jpg").arg(7 + item.index, 6, 10, QLatin1Char('0'));
    };
    branch.run = [](const BatchItem& item, const QString& newName) {
        QThread::msleep(60);
        const bool ok = RunTransfer(FileOperationKind::Copy, {item.path}, {newName}, FileOperationFlag::Silent);
        return BatchItemResult{ok ? BatchItemResult::Status::Done : BatchItemResult::Status::Failed, newName,
                               QStringLiteral("ERROR on ") + item.path};
    };
    BatchBranches::set(opMakeNumberFiles, branch);
    QTimer::singleShot(1800, [] { photograph(QStringLiteral("progress-batch-copy.png")); });
    RunBatchDialog(nullptr, QStringLiteral("Create numbered files..."), opMakeNumberFiles, work, ConfirmResults(), false);
}

// The file operation's own window during a long copy of a folder.
void transferShot(const QString& source, const QString& target)
{
    JobWaiter::setInstance(new ProgressWindowWaiter);
    TransferFaults faults;
    faults.beforeItem = [](const QString&) { QThread::msleep(25); };
    TransferFaults::set(faults);
    QTimer::singleShot(2000, [] { photograph(QStringLiteral("progress-transfer-copy.png")); });
    RunTransfer(FileOperationKind::Copy, {source}, {target + QLatin1Char('/')});
    TransferFaults::clear();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: fileops_dialog_shots OUTDIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    const QString photos = work.path() + QStringLiteral("/Photos");
    const QString numbered = work.path() + QStringLiteral("/Numbered");
    const QString copies = work.path() + QStringLiteral("/Copies");
    QDir().mkpath(photos);
    QDir().mkpath(numbered);
    QDir().mkpath(copies);
    const QStringList files = makeFiles(photos, 120, 1 << 20);
    const QString settings = work.path() + QStringLiteral("/registry.txt");

    confirmShot(opChangeAttributes, files.first(), files.first(), photos + QLatin1Char('/'),
                settings, QStringLiteral("confirm-attributes.png"), false);
    // A file the folder's ".hidden" list hides, whose name is not UTF-8.
    const QString hidden = photos + QLatin1Char('/') + FileName::decode("l\xe9gal notes.txt");
    for (const auto& [path, bytes] : {std::pair{hidden, QByteArray("notes\n")}, std::pair{QString(photos + QStringLiteral("/.hidden")), QByteArray("l\xe9gal notes.txt\n")}}) {
        const int fd = ::open(FileName::encode(path).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        if (fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) >= 0)
            ::close(fd);
    }
    confirmShot(opChangeAttributes, hidden, hidden, photos + QLatin1Char('/'), settings,
                QStringLiteral("confirm-attributes-hidden.png"), false, true);
    confirmShot(opZip, QStringLiteral("120 files selected"), files.first(),
                work.path() + QStringLiteral("/holiday.zip"), settings, QStringLiteral("confirm-zip.png"), true);
    confirmShot(opSearchReplace, QStringLiteral("120 files selected"), files.first(),
                photos + QLatin1Char('/'), settings, QStringLiteral("confirm-search-replace.png"), false);
    confirmShot(opChangeExtension, QStringLiteral("120 files selected"), files.first(),
                photos + QLatin1Char('/'), settings, QStringLiteral("confirm-change-extension.png"), false);
    confirmShot(opMakeNumberFiles, QStringLiteral("120 files selected"), files.first(),
                numbered + QLatin1Char('/'), settings, QStringLiteral("confirm-numbered.png"), false);
    progressShot(files, numbered);
    transferShot(photos, copies);
    return 0;
}
