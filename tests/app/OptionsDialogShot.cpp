// Photographs the options dialog, one picture per page, and the file ripper's dialog.
//
//   options_dialog_shot OUT_FOLDER
#include "app/TOptionDlg.h"
#include "internet/ui/TURLFileDlg.h"
#include "support/FakeOptionsHost.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool save(QWidget& widget, const QString& path)
{
    QApplication::processEvents();
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "cannot write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: options_dialog_shot OUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    FakeOptionsHost host;
    host.m_file = dir.path() + QStringLiteral("/registry.txt");
    host.folder = dir.path();
    host.m_settings.spinViewDelay = 5000;
    TOptionDlg options(host);
    options.show();
    auto* notebook = options.findChild<QTabWidget*>(QStringLiteral("OvcNotebook1"));
    bool ok = true;
    for (int page = 0; page < notebook->count(); ++page) {
        notebook->setCurrentIndex(page);
        ok &= save(options, out + QStringLiteral("/options-%1.png").arg(page + 1));
    }
    options.hide();

    TURLFileDlg rip(dir.path());
    rip.show();
    rip.Edit1->setText(QStringLiteral("http://www.xyzabc.com/23/35.pas"));
    ok &= save(rip, out + QStringLiteral("/ripper.png"));
    return ok ? 0 : 1;
}
