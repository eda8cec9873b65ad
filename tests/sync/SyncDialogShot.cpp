// Shows the synchroniser with two folders being compared and photographs it during the run
// and at its summary: run under Xvfb (see scripts/screenshot.sh for the display set-up).
//
//   sync_dialog_shot OUTDIR
#include "platform/Prompter.h"
#include "platform/TransferFaults.h"
#include "sync/ui/TSynchDlg.h"

#include "support/ScreenPhoto.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

namespace {

QString g_out;

void photograph(const QString& name)
{
    photographScreen(g_out, name);
}

// Shows each box for real, photographs it and closes it.
class ShotPrompter final : public Prompter {
public:
    PromptButton ask(PromptKind, PromptButtons, const QString& text, const QString& caption) override
    {
        QMessageBox box(QMessageBox::Information, caption, displayText(text), QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(800, &box, [&box] {
            photograph(QStringLiteral("sync-summary.png"));
            box.accept();
        });
        box.exec();
        return PromptButton::Ok;
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    g_out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir work;
    const QString left = work.path() + QStringLiteral("/Photos 2026");
    const QString right = work.path() + QStringLiteral("/Backup of photos");
    for (int i = 0; i < 12; ++i)
        write(left + QStringLiteral("/holiday-%1.jpg").arg(i, 2, 10, QLatin1Char('0')), QByteArray(2000 + i * 300, 'x'));
    write(left + QStringLiteral("/Albums/summer/beach.jpg"), QByteArray(64 << 20, 'b'));
    write(right + QStringLiteral("/notes.txt"), "kept on the backup only");
    write(right + QStringLiteral("/Edited/crop-01.jpg"), QByteArray(5000, 'c'));
    ShotPrompter prompter;
    Prompter::setInstance(&prompter);
    // The big file is copied slowly enough to be seen in the middle of its copy.
    TransferFaults faults;
    faults.afterChunk = [](std::int64_t written) {
        if (written > (1 << 20))
            QThread::msleep(900);
    };
    TransferFaults::set(faults);

    TSynchDlg dialog(left, SyncPairLists(work.path() + QStringLiteral("/lists")));
    QTimer::singleShot(1200, &dialog, [&] {
        dialog.setFolders(left, right);
        dialog.findChild<QCheckBox*>(QStringLiteral("CheckBoxRecurse"))->setChecked(true);
        QTimer::singleShot(1500, &dialog, [&] {
            dialog.ButtonSyncClick();
            QTimer::singleShot(1800, &dialog, [] { photograph(QStringLiteral("sync-running.png")); });
        });
    });
    QObject::connect(&dialog, &TSynchDlg::runFinished, &dialog, [&] {
        QTimer::singleShot(1500, &dialog, [&] {
            photograph(QStringLiteral("sync-after.png"));
            dialog.accept();
        });
    });
    dialog.exec();
    Prompter::setInstance(nullptr);
    return 0;
}
