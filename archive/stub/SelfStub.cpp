// fv3selfstub.exe: asks in a window for the folder to extract the archive appended to
// itself into, then extracts it, asking for a password and before overwriting. A folder
// given on the command line is used without asking, and the result goes to the terminal
// (for scripted installs).
#include "StubSession.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool scripted = argc > 1;
    const QString folder = scripted ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath()
                                    : QFileDialog::getExistingDirectory(nullptr, QStringLiteral("Extract to"), QDir::homePath());
    if (folder.isEmpty())
        return 1;
    bool overwriteAll = false;
    StubSession session;
    session.askPassword = [](QString& password) {
        password = QInputDialog::getText(nullptr, QStringLiteral("Enter Password"), QStringLiteral("&Password:"),
                                         QLineEdit::Password);
    };
    session.confirmOverwrite = [&](QString& name, bool& confirm) {
        if (overwriteAll)
            return;
        const auto answer = QMessageBox::question(nullptr, QStringLiteral("Extract"), name + QStringLiteral(" exists, overwrite?"),
                                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::YesToAll);
        overwriteAll = answer == QMessageBox::YesToAll;
        confirm = answer != QMessageBox::No;
    };
    const bool ok = session.run(QCoreApplication::applicationFilePath(), folder);
    if (scripted) {
        std::fprintf(ok ? stdout : stderr, "%s\n",
                     qPrintable(ok ? QStringLiteral("%1 files extracted.").arg(session.extracted()) : session.errorString()));
        return ok ? 0 : 1;
    }
    if (!ok)
        QMessageBox::critical(nullptr, QStringLiteral("Extract"), session.errorString());
    else
        QMessageBox::information(nullptr, QStringLiteral("Extract"),
                                 QStringLiteral("%1 files extracted to %2").arg(session.extracted()).arg(folder));
    return ok ? 0 : 1;
}
