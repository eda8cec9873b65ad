#include "app/MainWindowBands.h"

#include "app/MainWindowLayout.h"

#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>
#include <QToolBar>

#include <algorithm>

MainWindowBands::MainWindowBands(QMainWindow* window, MainWindowControls& controls)
    : QObject(window)
    , m_window(window)
    , m_controls(controls)
    , m_settle(new QTimer(this))
{
    // The tool-band container of the design; its bands live in the window's top tool bar area.
    setObjectName(QStringLiteral("CoolBar1"));
    for (int i = 0; i < kBandCount; ++i) {
        m_order.append({i, MainWindowLayout::kBandStartsRow[i], MainWindowLayout::kBandWidths[i]});
        controls.bands[i]->installEventFilter(this);
    }
    m_settle->setSingleShot(true);
    m_settle->setInterval(400);
    connect(m_settle, &QTimer::timeout, this, &MainWindowBands::reportIfChanged);
}

void MainWindowBands::reportIfChanged()
{
    const QList<BandRecord> before = m_order;
    if (layout() != before)
        Q_EMIT layoutChanged();
}

void MainWindowBands::flush()
{
    if (m_settle->isActive()) {
        m_settle->stop();
        reportIfChanged();
    }
}

bool MainWindowBands::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_applying && m_window->isVisible() && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        m_settle->start();
    return QObject::eventFilter(watched, event);
}

QList<BandRecord> MainWindowBands::layout()
{
    // Visible bands are read from the screen, in rows from the top and left to right in a
    // row. Hidden bands follow in their earlier order, from a new row, with the widths they
    // had when last seen: each mode keeps its own record, so they matter only to a mode
    // that has none yet.
    // Until the window is on screen the bands have no real places: keep what is known.
    if (!m_window->windowHandle() || !m_window->windowHandle()->isExposed())
        return m_order;
    QList<BandRecord> visible;
    QList<BandRecord> hidden;
    for (const BandRecord& band : std::as_const(m_order)) {
        QToolBar* bar = m_controls.bands[band.toolBar];
        if (bar->isVisible())
            visible.append({band.toolBar, m_window->toolBarBreak(bar), bar->width()});
        else
            hidden.append(band);
    }
    std::stable_sort(visible.begin(), visible.end(), [this](const BandRecord& a, const BandRecord& b) {
        const QRect ra = m_controls.bands[a.toolBar]->geometry();
        const QRect rb = m_controls.bands[b.toolBar]->geometry();
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    for (qsizetype i = 0; i < visible.size(); ++i) {
        visible[i].newRow = i == 0
            || m_controls.bands[visible[i].toolBar]->geometry().top() != m_controls.bands[visible[i - 1].toolBar]->geometry().top();
    }
    if (!hidden.isEmpty())
        hidden.first().newRow = true;
    m_order = visible + hidden;
    return m_order;
}

void MainWindowBands::applyLayout(const QList<BandRecord>& bands)
{
    m_applying = true;
    QList<bool> visible;
    for (QToolBar* bar : m_controls.bands) {
        visible.append(!bar->isHidden());
        m_window->removeToolBar(bar);
    }
    for (int i = 0; i < bands.size(); ++i) {
        QToolBar* bar = m_controls.bands[bands[i].toolBar];
        if (bands[i].newRow && i > 0)
            m_window->addToolBarBreak(Qt::TopToolBarArea);
        m_window->addToolBar(Qt::TopToolBarArea, bar);
        bar->setVisible(visible[bands[i].toolBar]);
    }
    m_order = bands;
    if (!m_order.isEmpty())
        m_order.first().newRow = true;
    m_applying = false;
}

bool MainWindowBands::applyRecord(const QByteArray& record)
{
    const auto bands = BandLayout::decode(record, kBandCount);
    if (!bands)
        return false;
    applyLayout(*bands);
    return true;
}

void MainWindowBands::showBand(int band)
{
    m_applying = true;
    for (int i = 0; i < kBandCount; ++i)
        m_controls.bands[i]->setVisible(i == bandGlobal || i == band);
    m_applying = false;
}
