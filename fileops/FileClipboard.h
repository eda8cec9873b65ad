#pragma once
// The program's internal file clipboard: one transfer mode shared by the folder tree and the
// file list (a copy in the tree followed by a cut in the list leaves move for both), the
// list's source (the ordered list a paste consumes, and the path list kept for a repeat) and
// the tree's source folder with its paste-pending mark. Lives as long as the process.

#include <QString>
#include <QStringList>

enum class TransferMode { None, Copy, Move };

// What the tree copied: a folder, or a drive root standing for the drive's contents. The mark
// lives beside the path, never in it: any folder name may end in "*".
struct TreeSource {
    QString folder;
    bool driveContents = false;
};

class FileClipboard {
public:
    TransferMode mode() const { return m_mode; }
    void setMode(TransferMode mode) { m_mode = mode; }

    // The list's source: the paths in list order; a paste empties the ordered list but keeps
    // the path list, so the system clipboard (which holds the same files) repeats it.
    const QStringList& listPaths() const { return m_listPaths; }
    const QStringList& listSource() const { return m_listSource; }
    void setListSource(const QStringList& paths);
    void clearListSource();
    void consumeListPaths() { m_listPaths.clear(); }

    // The tree's source: a folder, or a drive root that stands for the drive's contents.
    const TreeSource& treeSource() const { return m_treeSource; }
    void setTreeSource(const QString& folder, bool driveRoot);
    bool pastePending() const { return m_pastePending; }
    void setPastePending(bool pending) { m_pastePending = pending; }

    // The paths a tree source stands for: the folder itself, or every entry of a drive root.
    static QStringList expandTreeSource(const TreeSource& source);

private:
    TransferMode m_mode = TransferMode::Copy;
    QStringList m_listPaths;
    QStringList m_listSource;
    TreeSource m_treeSource;
    bool m_pastePending = false;
};
