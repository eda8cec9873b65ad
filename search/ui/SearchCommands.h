#pragma once
// The main window's Find command for files (MenuFindClick): the Search menu's "Find"
// (Ctrl+F), the tool band's "Find" button and the folder popup's "Folvane FIND" open the file
// search dialog at the tree's folder; with the tree showing all drives the desktop's own
// search runs on the tree's folder instead. "Go to file" shows the chosen hit in the file
// manager. In the file viewer and the text editor the text find dialog owns the command.
//
// A controller beside its subsystem: it reaches the window through its WindowContext only.

#include <QObject>
#include <QString>

class QAction;
class TFileViewFol;
class TPathViewFol;
class WindowContext;

class SearchCommands final : public QObject {
    Q_OBJECT
public:
    // tree: its mode (single drive or all drives) and folder; list: shows the hit chosen.
    SearchCommands(WindowContext& context, TPathViewFol* tree, TFileViewFol* list);

    void MenuFindClick();
    // The full path of the hit selected last in the dialog.
    QString lastHit() const { return m_lastHit; }
    QAction* findAction() const { return m_find; }

private:
    WindowContext& m_context;
    TPathViewFol* m_tree;
    TFileViewFol* m_list;
    void goToFile(const QString& path);
    QAction* m_find;
    QString m_lastHit;
};
