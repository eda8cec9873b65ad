#pragma once
// Waits for the browse panes' workers: a test that opens a folder waits for its rows (or a
// tree node for its subfolders) as a user waits for them to appear, with the event loop
// running.

#include "browse/TFileViewFol.h"
#include "browse/FolderReadFaults.h"
#include "browse/TPathViewFol.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

inline bool waitForList(const TFileViewFol& list, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return !list.isLoading(); }, timeoutMs);
}

inline bool waitForTree(const TPathViewFol& tree, int timeoutMs = 10000)
{
    return QTest::qWaitFor([&] { return !tree.isLoading(); }, timeoutMs);
}

// The editor open on a name of the list or the tree (in place, inside the view), or null.
inline QLineEdit* openNameEditor(const QAbstractItemView& view)
{
    for (QLineEdit* editor : view.viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

// Types text over the whole name in the open editor and presses key (Return commits, Escape
// gives up); the queued rename that follows has run on return. False without an editor.
inline bool typeName(const QAbstractItemView& view, const QString& text, Qt::Key key = Qt::Key_Return)
{
    QLineEdit* editor = openNameEditor(view);
    if (!editor)
        return false;
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, key);
    // The editor commits through a queued call, and the view sends the new name on queued.
    for (int round = 0; round < 3; ++round)
        QCoreApplication::processEvents();
    return true;
}

// Folders answer slowly while one of these lives: each name read costs `delay`.
class SlowFolderReads {
public:
    explicit SlowFolderReads(std::chrono::microseconds delay) { FolderReadFaults::setEntryDelay(delay); }
    ~SlowFolderReads() { FolderReadFaults::setEntryDelay(std::chrono::microseconds(0)); }
    SlowFolderReads(const SlowFolderReads&) = delete;
    SlowFolderReads& operator=(const SlowFolderReads&) = delete;
};
