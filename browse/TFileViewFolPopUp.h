#pragma once
// The file list's own context menu, rebuilt each time it opens so that its captions and
// enabled items follow the selection. The transfer items (cut, copy, paste, delete, rename,
// copy to, move to) ask the list's owner through the list's ...Requested signals.

#include <QMenu>

class TFileViewFol;

class TFileViewFolPopUp : public QMenu {
    Q_OBJECT
public:
    explicit TFileViewFolPopUp(TFileViewFol* list, QWidget* parent = nullptr);

    // "Print [no files selected]", "Print (1) selected file", "Print (n) selected files".
    static QString printCaption(int selected);
    // The text "Save file(s) to clipboard" puts on the clipboard: the folder with nothing
    // selected, else every selected path, each followed by CR LF when there are several;
    // paths on SMB shares in their network form.
    static QString clipboardText(const QString& directory, const QStringList& selected);

private:
    QAction* addItem(QMenu* menu, const QString& caption, const char* name, bool enabled);
    void addSendMenu(QMenu* send, int selected);
    void printSelected();
    void printerSetup();
    void saveToClipboard();
    void makeShortcuts(const QString& folder);

    TFileViewFol* m_list;
};
