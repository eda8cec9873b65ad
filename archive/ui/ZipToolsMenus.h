#pragma once
// The main window's zip commands: their items in the "File Tools" menu (the submenu "Tools
// for Zip files..."), in the drop-down of the band button ButtonUnZip (PopupMenuZip) and in
// the file list popup's "Zip Tools" submenu, and their handlers. A command collects its
// archives when it is chosen (a job with a count and Cancel), asks the confirmation dialog
// for the target folder and runs the batch loop in the progress dialog.

#include <QObject>

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

    void MenuZipFixClick();

private:
    QAction* add(QMenu* menu, const char* name, const QString& caption, void (ZipToolsMenus::*handler)());
    // The selected archives and those below selected folders into the work list; false
    // when there is none (or the walk was cancelled).
    bool collectZipFiles();

    WindowContext& m_context;
    TransferMenus& m_transfer;
    QMenu* m_toolsForZipFiles = nullptr;
    QMenu* m_popupMenuZip = nullptr;
    QMenu* m_popupFileZip = nullptr;
};
