#include "browse/TFileViewFolPopUp.h"

#include "browse/BrowsePaths.h"
#include "browse/TFileViewFol.h"
#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>

namespace {

bool clipboardHasFiles()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasUrls();
}

} // namespace

TFileViewFolPopUp::TFileViewFolPopUp(TFileViewFol* list, QWidget* parent)
    : QMenu(parent)
    , m_list(list)
{
    setObjectName(QStringLiteral("TFileViewFolPopUp"));
    const int selected = int(list->selectedPaths().size());
    const bool any = selected > 0;
    connect(addItem(this, QStringLiteral("Open file [Windoze]"), "OpenFileNode", any), &QAction::triggered, list,
            &TFileViewFol::OpenSelected);
    connect(addItem(this, QStringLiteral("Find"), "FindNode", true), &QAction::triggered, this, [list] {
        const QString folder = LocalFiles::isDir(list->Directory()) ? PathText::withoutTrailingSlash(list->Directory())
                                                                    : QString();
        const ShellExecuteResult result = ShellExecute(QStringLiteral("Find"), folder);
        if (!result.accepted)
            Prompter::instance().error(ShellFailureMessage(QStringLiteral("Find"), folder, result));
    });
    addSeparator();
    QMenu* print = addMenu(QStringLiteral("Print..."));
    print->setObjectName(QStringLiteral("PrintNode"));
    connect(addItem(print, printCaption(selected), "PrintFileNode", any), &QAction::triggered, this,
            &TFileViewFolPopUp::printSelected);
    connect(addItem(print, QStringLiteral("Printer Setup"), "PrinterSetupNode", true), &QAction::triggered, this,
            &TFileViewFolPopUp::printerSetup);
    addSeparator();
    QMenu* send = addMenu(QStringLiteral("Send..."));
    send->setObjectName(QStringLiteral("SendNode"));
    addSendMenu(send, selected);
    addSeparator();
    connect(addItem(this, QStringLiteral("Refresh files"), "RefreshfilesNode", true), &QAction::triggered, list,
            &TFileViewFol::RefreshList);
    addSeparator();
    connect(addItem(this, QStringLiteral("Cut"), "CutNode", any), &QAction::triggered, list, &TFileViewFol::cutRequested);
    connect(addItem(this, QStringLiteral("Copy"), "CopyNode", any), &QAction::triggered, list, &TFileViewFol::copyRequested);
    // Files on the clipboard (a URL list, as the program's own cut and copy leave it).
    connect(addItem(this, QStringLiteral("Paste"), "PasteNode", clipboardHasFiles()), &QAction::triggered, list,
            &TFileViewFol::pasteRequested);
    addSeparator();
    connect(addItem(this, QStringLiteral("Delete file(s)"), "DeleteFileNode", any), &QAction::triggered, list,
            &TFileViewFol::deleteRequested);
    connect(addItem(this, QStringLiteral("Rename file"), "RenameFileNode", selected == 1), &QAction::triggered, list,
            &TFileViewFol::renameRequested);
    connect(addItem(this, QStringLiteral("Properties"), "PropertiesNode", any), &QAction::triggered, list,
            &TFileViewFol::ShowItemProperties);
}

QAction* TFileViewFolPopUp::addItem(QMenu* menu, const QString& caption, const char* name, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setEnabled(enabled);
    return action;
}

void TFileViewFolPopUp::addSendMenu(QMenu* send, int selected)
{
    const bool any = selected > 0;
    connect(addItem(send, QStringLiteral("Save file(s) to clipboard"), "SavefilestoClipboardNode", true), &QAction::triggered,
            this, &TFileViewFolPopUp::saveToClipboard);
    connect(addItem(send, QStringLiteral("Send Copy file(s) to..."), "SendcopytoNode", any), &QAction::triggered, m_list,
            &TFileViewFol::copyToRequested);
    connect(addItem(send, QStringLiteral("Move file(s) to..."), "MovecopytoNode", any), &QAction::triggered, m_list,
            &TFileViewFol::moveToRequested);
    connect(addItem(send, QStringLiteral("Make Shortcut file(s)"), "MakeShortcutfilesNode", any), &QAction::triggered, this,
            [this] {
                const QString folder = BrowseForFolder(QStringLiteral("Browse"), m_list->Directory());
                if (!folder.isEmpty())
                    makeShortcuts(folder);
            });
    connect(addItem(send, QStringLiteral("Make Shortcut file(s) to desktop"), "MakeShortcutfilestodesktopNode", any),
            &QAction::triggered, this, [this] { makeShortcuts(SpecialFolderPath(SpecialFolder::Desktop)); });
}

QString TFileViewFolPopUp::printCaption(int selected)
{
    if (selected == 0)
        return QStringLiteral("Print [no files selected]");
    if (selected == 1)
        return QStringLiteral("Print (1) selected file");
    return QStringLiteral("Print (") + QString::number(selected) + QStringLiteral(") selected files");
}

QString TFileViewFolPopUp::clipboardText(const QString& directory, const QStringList& selected)
{
    if (selected.isEmpty())
        return BrowsePaths::networkForm(directory);
    if (selected.size() == 1)
        return BrowsePaths::networkForm(selected.first());
    QString text;
    for (const QString& path : selected)
        text += BrowsePaths::networkForm(path) + QStringLiteral("\r\n");
    return text;
}

void TFileViewFolPopUp::printSelected()
{
    for (const QString& path : m_list->selectedPaths()) {
        const ShellExecuteResult result = ShellExecute(QStringLiteral("Print"), path);
        if (!result.accepted)
            Prompter::instance().error(QStringLiteral("Can not Print file  ") + QFileInfo(path).fileName());
    }
}

void TFileViewFolPopUp::printerSetup()
{
    // The desktop's printer settings take the place of the printer setup dialog.
    const QList<QStringList> programs{{QStringLiteral("system-config-printer")},
                                      {QStringLiteral("gnome-control-center"), QStringLiteral("printers")},
                                      {QStringLiteral("kcmshell6"), QStringLiteral("kcm_printer_manager")},
                                      {QStringLiteral("kcmshell5"), QStringLiteral("kcm_printer_manager")}};
    for (const QStringList& command : programs) {
        const QString program = ProgramLauncher::instance().findProgram(command.first());
        if (program.isEmpty())
            continue;
        if (const Status started = ProgramLauncher::instance().start(program, command.mid(1), QString()); !started)
            Prompter::instance().error(QStringLiteral("Can not start ") + command.first() + QStringLiteral(":\r\n") + started.errorString());
        return;
    }
    Prompter::instance().error(QStringLiteral("No printer settings program is installed."));
}

void TFileViewFolPopUp::saveToClipboard()
{
    const QString text = clipboardText(m_list->Directory(), m_list->selectedPaths());
    Prompter::instance().information(QStringLiteral("The following has been saved to the clipboard.\r\n"
                                                    "You may now paste this into any other applications as text.\r\n\r\n")
                                     + text);
    QGuiApplication::clipboard()->setText(FileName::display(text)); // plain text for other programs
}

void TFileViewFolPopUp::makeShortcuts(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        Prompter::instance().error(QStringLiteral("The folder for the shortcuts does not exist:\r\n") + folder);
        return;
    }
    for (const QString& path : m_list->selectedPaths()) {
        const QString name = QFileInfo(path).fileName() + QStringLiteral(".desktop");
        const Result<QString> written = CreateShortcut(path, QFileInfo(path).absolutePath(), QDir(folder).filePath(name));
        if (!written) {
            Prompter::instance().error(written.errorString());
            break;
        }
    }
    m_list->RefreshList();
}
