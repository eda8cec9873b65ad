#pragma once
// The text/hex file viewer control inside the pane FileViewer: shows a file of any size as hex rows or as
// text rows, reading only the windows it paints (PagedFile). A caret and a selection are
// byte offsets in the file. In text mode a line index is built on a worker from the moment
// the file opens, so the status line can tell the caret's line while the user already
// scrolls anywhere (the scroll bar stands for bytes, not lines). Find runs on a worker in
// chunks and reports its progress.

#include "viewers/text/ByteSearch.h"
#include "viewers/text/LineIndex.h"
#include "viewers/text/PagedFile.h"
#include "viewers/text/TextRows.h"

#include <QAbstractScrollArea>

#include <memory>
#include <optional>

class JobRunner;

class FileViewerControl : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FileViewerControl(QWidget* parent = nullptr);
    ~FileViewerControl() override;

    // FileName and IsOpen: false with errorString() when the file cannot be shown.
    bool openFile(const QString& path);
    void closeFile();
    bool IsOpen() const { return m_file.isOpen(); }
    QString FileName() const { return m_file.path(); }
    QString errorString() const { return m_file.errorString(); }

    bool InHexMode() const { return m_hex; }
    void setInHexMode(bool hex);
    bool FilterChars() const { return m_filter; }
    void setFilterChars(bool filter);
    void setFixedFont(const QFont& font);

    bool hasSelection() const { return m_anchor != m_caret; }
    void selectAll();
    void clearSelection();
    // The selected bytes as text (UTF-8 when valid, else Latin-1) on the clipboard. A
    // selection above kMaxCopyBytes is not copied: false.
    static constexpr std::int64_t kMaxCopyBytes = 64 << 20;
    bool copySelection();
    QByteArray selectedBytes() const;
    // Caret line and column, both from 0; the line is unknown while the index has not yet
    // reached the caret.
    std::optional<std::int64_t> caretLine() const;
    std::int64_t caretColumn() const;
    std::int64_t caretOffset() const { return m_caret; }
    // Moves the caret (collapsing the selection) and shows it.
    void setCaret(std::int64_t offset);
    void select(std::int64_t from, std::int64_t to);

    // Starts a search for text from the caret (past the selection); found or not, searchDone
    // follows. Cancel stops a search that runs.
    void startFind(const QString& text, bool matchCase);
    void cancelFind();
    bool isSearching() const { return m_search != nullptr; }
    // Bytes searched and to search, while a search runs.
    std::pair<std::int64_t, std::int64_t> searchProgress() const;

Q_SIGNALS:
    void statusChanged(); // OnShowStatus: the caret moved, or its line became known
    void enterPressed();
    void backspacePressed();
    void doubleClicked();
    void contextMenuRequested(const QPoint& globalPosition);
    void searchDone(bool found);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int rowHeight() const;
    int visibleRows() const;
    std::int64_t rowStartOf(std::int64_t offset) const;
    std::int64_t nextRow(std::int64_t rowStart) const;
    std::int64_t previousRow(std::int64_t rowStart) const;
    // The byte under a point of the viewport.
    std::int64_t offsetAt(const QPoint& point) const;
    void moveCaret(std::int64_t offset, bool extend);
    void moveRows(int rows, bool extend);
    void ensureCaretVisible();
    void setTop(std::int64_t offset);
    void updateScrollBar();
    void scrolled(int value);
    void startIndex();
    void stopJobs();
    void drawRow(QPainter& painter, int y, std::int64_t rowStart) const;

    PagedFile m_file;
    TextRows m_rows{m_file};
    std::unique_ptr<LineIndex> m_index;
    std::unique_ptr<LineIndexJob> m_indexJob;
    std::unique_ptr<JobRunner> m_indexRunner;
    std::unique_ptr<TextSearchJob> m_searchJob;
    std::unique_ptr<JobRunner> m_search;
    bool m_hex = false;
    bool m_filter = true;
    std::int64_t m_top = 0;
    std::int64_t m_caret = 0;
    std::int64_t m_anchor = 0;
    std::int64_t m_scrollUnit = 1;
    bool m_settingBar = false;
};
