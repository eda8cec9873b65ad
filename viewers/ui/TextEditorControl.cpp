#include "viewers/ui/TextEditorControl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

namespace {

// A margin beside the text with its margin line at the edge next to the text.
class MarginLine : public QWidget {
public:
    MarginLine(QWidget* parent, bool lineOnRight)
        : QWidget(parent)
        , m_lineOnRight(lineOnRight)
    {
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        const int x = m_lineOnRight ? width() - 1 : 0;
        painter.drawLine(x, 0, x, height());
    }

private:
    bool m_lineOnRight;
};

QString leadingSpace(const QString& line)
{
    qsizetype n = 0;
    while (n < line.size() && (line[n] == QLatin1Char(' ') || line[n] == QLatin1Char('\t')))
        ++n;
    return line.left(n);
}

} // namespace

TextEditorControl::TextEditorControl(QWidget* parent)
    : QPlainTextEdit(parent)
    , m_leftMarginLine(new MarginLine(this, true))
    , m_rightMarginLine(new MarginLine(this, false))
{
    setObjectName(QStringLiteral("TextEditorControl"));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TextEditorControl::statusChanged);
    updateMargins();
}

int TextEditorControl::charWidth() const
{
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

void TextEditorControl::setInsertMode(bool insert)
{
    setOverwriteMode(!insert);
    updateCaret();
    Q_EMIT statusChanged();
}

void TextEditorControl::updateCaret()
{
    // The overwrite caret is a block one character wide.
    setCursorWidth(overwriteMode() ? charWidth() : 1);
}

void TextEditorControl::setWordWrap(bool on)
{
    m_wordWrap = on;
    setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    updateMargins();
}

void TextEditorControl::setWrapColumn(int column)
{
    m_wrapColumn = column > 0 ? column : kDefaultWrapColumn;
    updateMargins();
}

void TextEditorControl::setTabSize(int size)
{
    m_tabSize = size > 0 ? size : kDefaultTabSize;
    setTabStopDistance(m_tabSize * charWidth());
}

void TextEditorControl::setFixedFont(const QFont& font)
{
    QFont fixed = font;
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    setFont(fixed);
    setTabSize(m_tabSize);
    updateCaret();
    updateMargins();
}

void TextEditorControl::updateMargins()
{
    int right = kRightMargin;
    if (m_wordWrap) {
        // Lines wrap at the wrap column: the text area is that many characters wide.
        const int textWidth = m_wrapColumn * charWidth() + 2 * int(document()->documentMargin());
        const int available = width() - 2 * frameWidth() - kLeftMargin
            - (verticalScrollBar()->isVisible() ? verticalScrollBar()->width() : 0);
        right = std::max(kRightMargin, available - textWidth);
    }
    setViewportMargins(kLeftMargin, 0, right, 0);
    // The document wraps to the viewport's width only when the editor itself is resized.
    QResizeEvent relayout(size(), QSize(-1, -1));
    QPlainTextEdit::resizeEvent(&relayout);
    const QRect area = contentsRect();
    m_leftMarginLine->setGeometry(area.left(), area.top(), kLeftMargin, area.height());
    m_rightMarginLine->setGeometry(area.left() + kLeftMargin + viewport()->width(), area.top(), right, area.height());
}

void TextEditorControl::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    updateMargins();
}

int TextEditorControl::caretLine() const
{
    return textCursor().blockNumber() + 1;
}

int TextEditorControl::caretColumn() const
{
    return textCursor().positionInBlock() + 1;
}

QString TextEditorControl::documentText() const
{
    return documentLines().join(QLatin1Char('\n'));
}

QStringList TextEditorControl::documentLines() const
{
    QStringList lines;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

QString TextEditorControl::tabText() const
{
    if (m_tabType == TabType::Real)
        return QStringLiteral("\t");
    const int column = textCursor().positionInBlock();
    int target = (column / m_tabSize + 1) * m_tabSize;
    if (m_tabType == TabType::Smart) {
        // The start of the previous line's next word after the caret's column.
        const QString previous = textCursor().block().previous().text();
        int at = column;
        while (at < previous.size() && !previous[at].isSpace())
            ++at;
        while (at < previous.size() && previous[at].isSpace())
            ++at;
        if (at < previous.size())
            target = at;
    }
    return QString(std::max(1, target - column), QLatin1Char(' '));
}

void TextEditorControl::keyPressEvent(QKeyEvent* event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_F2 && modifiers == Qt::AltModifier) {
        Q_EMIT altF2Pressed();
        return;
    }
    if (event->key() == Qt::Key_Insert && modifiers == Qt::NoModifier) {
        setInsertMode(overwriteMode());
        return;
    }
    if (event->key() == Qt::Key_Tab && modifiers == Qt::NoModifier && !textCursor().hasSelection()) {
        insertPlainText(tabText());
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_autoIndent && modifiers == Qt::NoModifier) {
        const QString indent = leadingSpace(textCursor().block().text().left(textCursor().positionInBlock()));
        QTextCursor caret = textCursor();
        caret.beginEditBlock();
        caret.insertBlock();
        caret.insertText(indent);
        caret.endEditBlock();
        setTextCursor(caret);
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TextEditorControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}
