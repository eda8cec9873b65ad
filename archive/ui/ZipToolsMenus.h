#pragma once
// The main window's zip commands (Zip, Unzip, Zip to EXE, Zip Fix): their items in the "File
// Tools" menu ("Zip", and the submenu "Tools for Zip files..."), on the band buttons ButtonZip
// and ButtonUnZip (a click unzips, its drop-down PopupMenuZip holds "Zip to Exe" and "Fix
// Zip"), in the file list popup's "Send ..." and "Zip Tools" submenus, and the tree's "Zip
// this folder"; and their handlers. A command collects its files when it is chosen (a job
// with a count and Cancel), asks the confirmation dialog for the target and runs the batch
// loop in the progress dialog; what made a batch fail is said once it is over.

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class TransferMenus;
class WindowContext;

class ZipToolsMenus final : public QObject {
    Q_OBJECT
public:
    ZipToolsMenus(WindowContext& context, TransferMenus& transfer);

    QMenu* PopupMenuZip() const { return m_popupMenuZip; }
    QMenu* PopupFileZipTools() const { return m_popupFileZip; }
    // Where the window's UseSmallZipToExe setting is read when Zip to EXE starts.
    void setSmallStubSetting(std::function<bool()> setting) { m_useSmallStub = std::move(setting); }

    // Zip: of the tree's folder when the tree has the focus, else of the list's selection.
    void MenuZipClick();
    // The tree's "Zip this folder".
    void zipFolder();
    void MenuUnZipClick();
    void MenuZiptoExeClick();
    void MenuZipFixClick();

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption, void (ZipToolsMenus::*handler)());
    void buildMenus();
    void zip(bool folderMode);
    // The files to zip into the work list: every file below the tree's folder (folder mode)
    // or the selection, folders expanded; false when there is none (or the walk was
    // cancelled).
    bool collectFiles(bool folderMode);
    // The selected archives and those below selected folders into the work list; false
    // when there is none (or the walk was cancelled).
    bool collectZipFiles();
    // Above 1 GiB in all, whether the user wants to try.
    bool sizeAccepted();
    // Unzip, Zip to EXE and Zip Fix: the archives of the selection, the target folder, the
    // batch.
    void archiveBatch(int code, const QString& action, bool itemMeter);
    // Runs the batch in the progress dialog, says what failed, and shows the change.
    void runBatch(const QString& action, int code, bool itemMeter, const QString& changedFolder);

    WindowContext& m_context;
    TransferMenus& m_transfer;
    std::function<bool()> m_useSmallStub;
    QMenu* m_toolsForZipFiles = nullptr;
    QMenu* m_popupMenuZip = nullptr;
    QMenu* m_popupFileZip = nullptr;
};
