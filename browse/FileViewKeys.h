#pragma once
// The file list's own keyboard handling, seen before the item views get a key: the
// ShortCuts bindings (each only while its action is on), Enter, Shift+Delete, first-letter
// search, and the click handling after the arrow keys. Every key then reaches keyDown.

#include <QObject>

#include <initializer_list>

class QAbstractItemView;
class QKeyEvent;
class TFileViewFol;

class FileViewKeys : public QObject {
    Q_OBJECT
public:
    FileViewKeys(TFileViewFol* list, std::initializer_list<QAbstractItemView*> views);

    // Selects every item when nothing is selected, else clears the selection.
    static void SelectAllOrNone(TFileViewFol& list);
    // Asks for each selected file in list order, stopping at the first selected folder, and
    // deletes each file answered Yes for good (not to the Trash); then re-reads the list.
    static void PermanentDelete(TFileViewFol& list);
    // From the selected item (the first when none), selects the next item, wrapping, whose
    // caption starts with letter, ignoring case; none found leaves nothing selected.
    static void FirstLetterSearch(TFileViewFol& list, const QString& letter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when a binding took the key.
    bool runBinding(const QKeyEvent* key);
    bool handleKey(QObject* view, QKeyEvent* key);

    TFileViewFol* m_list;
};
