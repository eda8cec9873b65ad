#pragma once
// The text editor control inside the pane TextEditor: a QPlainTextEdit with the editor's margins (15
// pixels left, 5 right, each with a margin line), insert and overwrite (Insert toggles;
// the overwrite caret is a block), auto indent, the three tab types (real tab, fixed
// spaces, smart spaces that line up with the previous line's words), and word wrap at a
// column. A tab size or wrap column of 0 (or less) stands for the defaults, 8 and 80.

#include <QPlainTextEdit>

class TextEditorControl : public QPlainTextEdit {
    Q_OBJECT
public:
    enum class TabType { Real = 0, Fixed = 1, Smart = 2 };
    static constexpr int kLeftMargin = 15;
    static constexpr int kRightMargin = 5;
    static constexpr int kDefaultTabSize = 8;
    static constexpr int kDefaultWrapColumn = 80;

    explicit TextEditorControl(QWidget* parent = nullptr);

    bool InsertMode() const { return !overwriteMode(); }
    void setInsertMode(bool insert);
    bool AutoIndent() const { return m_autoIndent; }
    void setAutoIndent(bool on) { m_autoIndent = on; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    int WrapColumn() const { return m_wrapColumn; }
    void setWrapColumn(int column);
    TabType tabType() const { return m_tabType; }
    void setTabType(TabType type) { m_tabType = type; }
    int TabSize() const { return m_tabSize; }
    void setTabSize(int size);
    void setFixedFont(const QFont& font);

    // The caret's line and column, both from 1.
    int caretLine() const;
    int caretColumn() const;
    // The text, lines joined by "\n", exactly as the document holds it (no character
    // is changed for showing, as toPlainText() does with non-breaking spaces).
    QString documentText() const;
    // The lines of the document, each whole.
    QStringList documentLines() const;

    // What a Tab key inserts at the caret for the tab type and size.
    QString tabText() const;

Q_SIGNALS:
    void statusChanged(); // OnShowStatus
    void altF2Pressed();
    void doubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateMargins();
    void updateCaret();
    int charWidth() const;

    QWidget* m_leftMarginLine;
    QWidget* m_rightMarginLine;
    bool m_autoIndent = false;
    bool m_wordWrap = false;
    int m_wrapColumn = kDefaultWrapColumn;
    int m_tabSize = kDefaultTabSize;
    TabType m_tabType = TabType::Real;
};
