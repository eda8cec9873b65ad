// Photographs the file search dialog with hits and duplicate groups: makes a small tree,
// searches it, runs the duplicate pass and saves the dialog's picture.
//
//   search_dialog_shot OUT.png
#include "search/ui/TFormSearchDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: search_dialog_shot OUT.png\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/Projects");
    const struct { const char* path; const char* text; } files[] = {
        {"Reports/Q3 REPORT.doc", "quarterly report"}, {"Reports/q3 report copy.doc", "quarterly report"},
        {"Reports/old/report-2019.txt", "old report"}, {"Notes/report ideas.txt", "ideas"},
        {"Backup/Q3 REPORT.doc", "quarterly report"}, {"Backup/report-2019.txt", "old report"},
        {"Notes/meeting report.md", "minutes"}};
    for (const auto& file : files) {
        const QString path = root + QLatin1Char('/') + QLatin1String(file.path);
        QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(file.text);
    }
    TFormSearchDlg dialog(dir.path() + QStringLiteral("/registry.txt"), root);
    dialog.findChild<QComboBox*>(QStringLiteral("ComboBoxEditFileSearchStr"))->setEditText(QStringLiteral("report"));
    dialog.show();
    QObject::connect(&dialog, &TFormSearchDlg::searchFinished, &dialog, [&] { dialog.ButtonDupClick(); });
    QObject::connect(&dialog, &TFormSearchDlg::duplicatesFinished, &dialog, [&] {
        QTimer::singleShot(300, &dialog, [&] {
            const bool saved = dialog.grab().save(out);
            std::printf("%s %s\n", saved ? "wrote" : "cannot write", qPrintable(out));
            app.exit(saved ? 0 : 1);
        });
    });
    QTimer::singleShot(100, &dialog, [&] { dialog.ButtonSearchStopClick(); });
    return app.exec();
}
