#include "viewers/ui/FileViewerControl.h"

#include "platform/JobRunner.h"
#include "viewers/text/HexRows.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>

namespace {
// The scroll bar stands for bytes; a big file is scrolled in units so its range fits.
constexpr std::int64_t kMaxBarSteps = 1 << 24;
constexpr int kTextMargin = 4;
} // namespace

FileViewerControl::FileViewerControl(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("FileViewerControl"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &FileViewerControl::scrolled);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

FileViewerControl::~FileViewerControl()
{
    stopJobs();
}

bool FileViewerControl::openFile(const QString& path)
{
    closeFile();
    if (!m_file.open(path))
        return false;
    if (!m_hex)
        startIndex();
    updateScrollBar();
    viewport()->update();
    Q_EMIT statusChanged();
    return true;
}

void FileViewerControl::closeFile()
{
    stopJobs();
    m_file.close();
    m_top = m_caret = m_anchor = 0;
    updateScrollBar();
    viewport()->update();
}

void FileViewerControl::stopJobs()
{
    // A runner cancels its job and waits for it: the jobs read m_file and m_index.
    m_search.reset();
    m_searchJob.reset();
    m_indexRunner.reset();
    m_indexJob.reset();
    m_index.reset();
}

void FileViewerControl::startIndex()
{
    if (m_index || !m_file.isOpen())
        return;
    m_index = std::make_unique<LineIndex>(m_file);
    m_indexJob = std::make_unique<LineIndexJob>(*m_index, m_file.size());
    m_indexRunner = std::make_unique<JobRunner>(*m_indexJob);
    connect(m_indexRunner.get(), &JobRunner::finished, this, &FileViewerControl::statusChanged);
    m_indexRunner->start();
}

void FileViewerControl::setInHexMode(bool hex)
{
    if (m_hex == hex)
        return;
    m_hex = hex;
    if (!hex)
        startIndex();
    setTop(rowStartOf(m_top));
    updateScrollBar();
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT statusChanged();
}

void FileViewerControl::setFilterChars(bool filter)
{
    m_filter = filter;
    viewport()->update();
}

void FileViewerControl::setFixedFont(const QFont& font)
{
    QFont fixed = font;
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    setFont(fixed);
    viewport()->setFont(fixed);
    updateScrollBar();
    viewport()->update();
}

int FileViewerControl::rowHeight() const
{
    return fontMetrics().height();
}

int FileViewerControl::visibleRows() const
{
    return std::max(1, viewport()->height() / std::max(1, rowHeight()));
}

std::int64_t FileViewerControl::rowStartOf(std::int64_t offset) const
{
    offset = std::clamp<std::int64_t>(offset, 0, m_file.size());
    return m_hex ? offset / HexRows::kBytesPerRow * HexRows::kBytesPerRow : m_rows.rowStartOf(offset);
}

std::int64_t FileViewerControl::nextRow(std::int64_t rowStart) const
{
    return m_hex ? std::min(rowStart + HexRows::kBytesPerRow, m_file.size()) : m_rows.nextRow(rowStart);
}

std::int64_t FileViewerControl::previousRow(std::int64_t rowStart) const
{
    return m_hex ? std::max<std::int64_t>(0, rowStart - HexRows::kBytesPerRow) : m_rows.previousRow(rowStart);
}

void FileViewerControl::updateScrollBar()
{
    const std::int64_t size = m_file.isOpen() ? m_file.size() : 0;
    m_scrollUnit = std::max<std::int64_t>(1, (size + kMaxBarSteps - 1) / kMaxBarSteps);
    if (m_hex)
        m_scrollUnit = (m_scrollUnit + HexRows::kBytesPerRow - 1) / HexRows::kBytesPerRow * HexRows::kBytesPerRow;
    m_settingBar = true;
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, int(size / m_scrollUnit));
    bar->setPageStep(int(std::max<std::int64_t>(1, visibleRows() * (m_hex ? HexRows::kBytesPerRow : 64) / m_scrollUnit)));
    bar->setSingleStep(1);
    bar->setValue(int(m_top / m_scrollUnit));
    m_settingBar = false;
}

void FileViewerControl::scrolled(int value)
{
    if (m_settingBar || !m_file.isOpen())
        return;
    std::int64_t top = rowStartOf(std::int64_t(value) * m_scrollUnit);
    if (value == verticalScrollBar()->maximum()) {
        // The end of the bar shows the last page, found back from the end of the file.
        top = rowStartOf(m_file.size());
        for (int i = 1; i < visibleRows(); ++i)
            top = previousRow(top);
    }
    m_top = top;
    viewport()->update();
}

void FileViewerControl::setTop(std::int64_t offset)
{
    m_top = std::max<std::int64_t>(0, offset);
    m_settingBar = true;
    verticalScrollBar()->setValue(int(m_top / m_scrollUnit));
    m_settingBar = false;
    viewport()->update();
}

void FileViewerControl::ensureCaretVisible()
{
    const std::int64_t caretRow = rowStartOf(m_caret);
    if (caretRow < m_top) {
        setTop(caretRow);
        return;
    }
    std::int64_t row = m_top;
    for (int i = 0; i < visibleRows(); ++i) {
        if (row == caretRow)
            return;
        const std::int64_t next = nextRow(row);
        if (next == row)
            return;
        row = next;
    }
    std::int64_t top = caretRow;
    for (int i = 1; i < visibleRows(); ++i)
        top = previousRow(top);
    setTop(top);
}

void FileViewerControl::moveCaret(std::int64_t offset, bool extend)
{
    m_caret = std::clamp<std::int64_t>(offset, 0, m_file.size());
    if (!extend)
        m_anchor = m_caret;
    ensureCaretVisible();
    viewport()->update();
    Q_EMIT statusChanged();
}

void FileViewerControl::setCaret(std::int64_t offset)
{
    moveCaret(offset, false);
}

void FileViewerControl::select(std::int64_t from, std::int64_t to)
{
    m_anchor = std::clamp<std::int64_t>(from, 0, m_file.size());
    moveCaret(to, true);
}

void FileViewerControl::moveRows(int rows, bool extend)
{
    const std::int64_t row = rowStartOf(m_caret);
    const std::int64_t column = m_caret - row;
    std::int64_t target = row;
    for (int i = 0; i < std::abs(rows); ++i)
        target = rows < 0 ? previousRow(target) : (nextRow(target) < m_file.size() ? nextRow(target) : target);
    const std::int64_t end = nextRow(target);
    moveCaret(std::min(target + column, std::max(target, end == m_file.size() ? end : end - 1)), extend);
}

void FileViewerControl::selectAll()
{
    m_anchor = 0;
    m_caret = m_file.size();
    viewport()->update();
    Q_EMIT statusChanged();
}

void FileViewerControl::clearSelection()
{
    m_anchor = m_caret;
    viewport()->update();
    Q_EMIT statusChanged();
}

QByteArray FileViewerControl::selectedBytes() const
{
    const std::int64_t from = std::min(m_anchor, m_caret);
    return m_file.read(from, std::min(std::max(m_anchor, m_caret) - from, kMaxCopyBytes));
}

bool FileViewerControl::copySelection()
{
    if (!hasSelection() || std::abs(m_caret - m_anchor) > kMaxCopyBytes)
        return false;
    const QByteArray bytes = selectedBytes();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    QGuiApplication::clipboard()->setText(text);
    return true;
}

std::optional<std::int64_t> FileViewerControl::caretLine() const
{
    if (m_hex)
        return m_caret / HexRows::kBytesPerRow;
    if (!m_index)
        return std::nullopt;
    return m_index->lineOf(m_caret);
}

std::int64_t FileViewerControl::caretColumn() const
{
    if (m_hex)
        return m_caret % HexRows::kBytesPerRow;
    const TextRows::Shown row = m_rows.shown(m_rows.rowStartOf(m_caret));
    for (size_t i = 0; i < row.byteOf.size(); ++i) {
        if (row.byteOf[i] >= m_caret)
            return std::int64_t(i);
    }
    return std::int64_t(row.text.size());
}

void FileViewerControl::startFind(const QString& text, bool matchCase)
{
    cancelFind();
    const std::int64_t from = hasSelection() ? std::min(m_anchor, m_caret) + 1 : m_caret;
    m_searchJob = std::make_unique<TextSearchJob>(m_file, ByteSearch(text.toUtf8(), matchCase), from);
    m_search = std::make_unique<JobRunner>(*m_searchJob);
    const std::int64_t length = text.toUtf8().size();
    connect(m_search.get(), &JobRunner::finished, this, [this, length] {
        const std::int64_t found = m_searchJob->found();
        // The runner is still emitting: it and its job go once it has returned.
        JobRunner* runner = m_search.release();
        TextSearchJob* job = m_searchJob.release();
        connect(runner, &QObject::destroyed, runner, [job] { delete job; });
        runner->deleteLater();
        if (found >= 0)
            select(found, found + length);
        Q_EMIT searchDone(found >= 0);
    });
    m_search->start();
}

void FileViewerControl::cancelFind()
{
    m_search.reset();
    m_searchJob.reset();
}

std::pair<std::int64_t, std::int64_t> FileViewerControl::searchProgress() const
{
    if (!m_search)
        return {0, 0};
    const JobProgress progress = m_search->progress();
    return {progress.doneBytes, progress.totalBytes};
}

std::int64_t FileViewerControl::offsetAt(const QPoint& point) const
{
    std::int64_t row = m_top;
    for (int i = 0; i < point.y() / std::max(1, rowHeight()); ++i) {
        const std::int64_t next = nextRow(row);
        if (next >= m_file.size())
            break;
        row = next;
    }
    const int charWidth = std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
    const int column = std::max(0, (point.x() - kTextMargin + horizontalScrollBar()->value()) / charWidth);
    if (m_hex) {
        const int byte = HexRows::byteAtColumn(column);
        const std::int64_t at = row + (byte >= 0 ? byte : column < HexRows::hexColumn(0) ? 0 : HexRows::kBytesPerRow - 1);
        return std::min(at, m_file.size());
    }
    const TextRows::Shown shown = m_rows.shown(row);
    return column < int(shown.byteOf.size()) ? shown.byteOf[size_t(column)] : shown.byteOf.back();
}

void FileViewerControl::drawRow(QPainter& painter, int y, std::int64_t rowStart) const
{
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    const int x0 = kTextMargin - horizontalScrollBar()->value();
    const std::int64_t selFrom = std::min(m_anchor, m_caret);
    const std::int64_t selTo = std::max(m_anchor, m_caret);
    QString text;
    std::vector<std::pair<int, std::int64_t>> cells; // (column, byte) of each shown cell
    if (m_hex) {
        const QByteArray bytes = m_file.read(rowStart, HexRows::kBytesPerRow);
        text = HexRows::row(rowStart, bytes, m_filter);
        for (int i = 0; i < bytes.size(); ++i) {
            cells.emplace_back(HexRows::hexColumn(i), rowStart + i);
            cells.emplace_back(HexRows::hexColumn(i) + 1, rowStart + i);
            cells.emplace_back(HexRows::charColumn(i), rowStart + i);
        }
    } else {
        const TextRows::Shown shown = m_rows.shown(rowStart);
        text = shown.text;
        for (int i = 0; i < int(shown.text.size()); ++i)
            cells.emplace_back(i, shown.byteOf[size_t(i)]);
    }
    // Each character sits in its own cell of the grid, so the highlight and the text under
    // it line up whatever the font's fractional advances.
    const QPalette& pal = palette();
    std::vector<bool> selected(size_t(text.size()), false);
    for (const auto& [column, byte] : cells) {
        if (byte >= selFrom && byte < selTo && column < text.size()) {
            selected[size_t(column)] = true;
            painter.fillRect(x0 + column * charWidth, y, charWidth, rowHeight(), pal.highlight());
        }
    }
    const int baseline = y + fontMetrics().ascent();
    for (int column = 0; column < int(text.size()); ++column) {
        if (text[column] == QLatin1Char(' '))
            continue;
        painter.setPen(selected[size_t(column)] ? pal.highlightedText().color() : pal.text().color());
        painter.drawText(QPoint(x0 + column * charWidth, baseline), QString(text[column]));
    }
    const std::int64_t end = nextRow(rowStart);
    if (hasFocus() && m_caret >= rowStart && (m_caret < end || m_caret == m_file.size())) {
        int column = int(text.size());
        for (const auto& [cellColumn, byte] : cells) {
            if (byte == m_caret) {
                column = cellColumn;
                break;
            }
        }
        painter.fillRect(x0 + column * charWidth, y, 2, rowHeight(), pal.text());
    }
}

void FileViewerControl::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    if (!m_file.isOpen())
        return;
    int widest = 0;
    std::int64_t row = m_top;
    for (int y = 0; y < viewport()->height(); y += rowHeight()) {
        drawRow(painter, y, row);
        widest = std::max<int>(widest, m_hex ? HexRows::charColumn(HexRows::kBytesPerRow) + 1
                                             : int(m_rows.shown(row).text.size()));
        const std::int64_t next = nextRow(row);
        if (next >= m_file.size())
            break;
        row = next;
    }
    const int charWidth = fontMetrics().horizontalAdvance(QLatin1Char('M'));
    horizontalScrollBar()->setRange(0, std::max(0, widest * charWidth + 2 * kTextMargin - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void FileViewerControl::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void FileViewerControl::keyPressEvent(QKeyEvent* event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT enterPressed();
        return;
    case Qt::Key_Backspace:
        Q_EMIT backspacePressed();
        return;
    case Qt::Key_Left:
        moveCaret(m_caret - 1, extend);
        return;
    case Qt::Key_Right:
        moveCaret(m_caret + 1, extend);
        return;
    case Qt::Key_Up:
        moveRows(-1, extend);
        return;
    case Qt::Key_Down:
        moveRows(1, extend);
        return;
    case Qt::Key_PageUp:
        moveRows(-visibleRows(), extend);
        return;
    case Qt::Key_PageDown:
        moveRows(visibleRows(), extend);
        return;
    case Qt::Key_Home:
        moveCaret(control ? 0 : rowStartOf(m_caret), extend);
        return;
    case Qt::Key_End: {
        const std::int64_t end = nextRow(rowStartOf(m_caret));
        moveCaret(control || end >= m_file.size() ? m_file.size() : end - 1, extend);
        return;
    }
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void FileViewerControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_file.isOpen())
        moveCaret(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void FileViewerControl::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && m_file.isOpen())
        moveCaret(offsetAt(event->position().toPoint()), true);
}

void FileViewerControl::mouseDoubleClickEvent(QMouseEvent*)
{
    Q_EMIT doubleClicked();
}

void FileViewerControl::contextMenuEvent(QContextMenuEvent* event)
{
    Q_EMIT contextMenuRequested(event->globalPos());
}
