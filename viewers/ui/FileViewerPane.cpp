#include "viewers/ui/FileViewerPane.h"

#include "fileops/BrowsePanes.h"
#include "platform/FileName.h"
#include "platform/Prompter.h"
#include "platform/ui/WindowContext.h"
#include "viewers/ViewerSettings.h"
#include "viewers/ui/FileViewerControl.h"

#include <QAction>
#include <QFontDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

FileViewerPane::FileViewerPane(WindowContext& context, ViewerSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_settings(settings)
    , m_viewer(new FileViewerControl(this))
    , m_progressTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("FileViewer"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewer);
    buildPopup();
    connect(m_viewer, &FileViewerControl::statusChanged, this, &FileViewerPane::showStatus);
    connect(m_viewer, &FileViewerControl::enterPressed, this, [this] { stepFile(1); });
    connect(m_viewer, &FileViewerControl::backspacePressed, this, &FileViewerPane::PopupFileViewerHexClick);
    connect(m_viewer, &FileViewerControl::doubleClicked, this, &FileViewerPane::close);
    connect(m_viewer, &FileViewerControl::contextMenuRequested, this, [this](const QPoint& at) { m_popup->popup(at); });
    connect(m_viewer, &FileViewerControl::searchDone, this, [this] {
        m_progressTimer->stop();
        m_context.meter()->hide();
    });
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &FileViewerPane::showSearchProgress);
    QToolButton* hex = m_context.button(BandButton::Hex);
    hex->setCheckable(true);
    connect(hex, &QToolButton::clicked, this, &FileViewerPane::ButtonHexClick);
    connect(m_context.button(BandButton::FileViewerCopy), &QToolButton::clicked, this, &FileViewerPane::MenuCopyClick);
    connect(m_context.button(BandButton::ViewerFont), &QToolButton::clicked, this, &FileViewerPane::MenuFontClick);
    applySettings();
}

QString FileViewerPane::settingsGroup() const
{
    return QLatin1String(ViewerSettings::kGroup);
}

void FileViewerPane::applySettings()
{
    m_context.button(BandButton::Hex)->setChecked(m_settings.hex);
    m_viewer->setInHexMode(m_settings.hex);
    m_viewer->setFilterChars(m_settings.fileViewerFilterChar);
    m_viewer->setFixedFont(QFont(m_settings.fileViewerFont, std::max(1, m_settings.fileViewerSize)));
}

void FileViewerPane::enter(const QString& path)
{
    applySettings();
    if (!path.isEmpty() && !m_viewer->openFile(path))
        Prompter::instance().error(m_viewer->errorString());
    m_viewer->setFocus();
    showStatus();
}

void FileViewerPane::leave()
{
    m_progressTimer->stop();
    m_viewer->closeFile();
    for (int panel : {0, 1, 2, 3})
        m_context.statusPanel(panel)->clear();
}

void FileViewerPane::stepFile(int direction)
{
    if (!m_panes)
        return;
    QList<ListEntry> entries = m_panes->listEntries();
    entries.removeIf([](const ListEntry& entry) { return entry.parent; });
    if (entries.isEmpty())
        return;
    qsizetype current = -1;
    for (qsizetype i = 0; i < entries.size() && current < 0; ++i) {
        if (entries[i].selected)
            current = i;
    }
    const qsizetype count = entries.size();
    const qsizetype next = ((current < 0 ? -1 : current) + (direction < 0 ? -1 : 1) + count) % count;
    m_panes->selectInList(entries[next].fullPath);
    // The viewer opens regular files only: a folder, FIFO or device gets the open error.
    m_context.switchMode(vmFileViewer, entries[next].fullPath);
}

bool FileViewerPane::hasSelection() const
{
    return m_viewer->hasSelection();
}

bool FileViewerPane::hasLines() const
{
    return m_viewer->IsOpen() && !m_viewer->FileName().isEmpty();
}

void FileViewerPane::showStatus()
{
    const bool open = m_viewer->IsOpen();
    QString position;
    if (open) {
        const std::optional<std::int64_t> line = m_viewer->caretLine();
        position = QStringLiteral(" Line: %1 Column: %2")
                       .arg(line ? QString::number(*line + 1) : QStringLiteral("?"))
                       .arg(m_viewer->caretColumn() + 1);
    }
    m_context.statusPanel(0)->setText(open ? FileName::display(m_viewer->FileName()) : QString());
    m_context.statusPanel(1)->setText(position);
    m_context.statusPanel(2)->setText(QStringLiteral("VIEWER"));
    m_context.button(BandButton::FileViewerCopy)->setEnabled(m_viewer->hasSelection());
}

void FileViewerPane::showSearchProgress()
{
    const auto [done, total] = m_viewer->searchProgress();
    QProgressBar* meter = m_context.meter();
    meter->setRange(0, 100);
    meter->setValue(total > 0 ? int(done * 100 / total) : 0);
    meter->show();
}

void FileViewerPane::startFind(const QString& text, bool matchCase)
{
    m_viewer->startFind(text, matchCase);
    m_progressTimer->start();
}

void FileViewerPane::MenuCopyClick()
{
    if (m_viewer->hasSelection() && !m_viewer->copySelection())
        Prompter::instance().information(QStringLiteral("The selection is too large to copy."));
}

void FileViewerPane::MenuSelectAllClick()
{
    if (m_viewer->hasSelection())
        m_viewer->clearSelection();
    else
        m_viewer->selectAll();
}

void FileViewerPane::MenuFontClick()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, m_viewer->font(), m_context.window(), QString(),
                                            QFontDialog::MonospacedFonts);
    if (!ok)
        return;
    m_settings.fileViewerFont = font.family();
    m_settings.fileViewerSize = font.pointSize() > 0 ? font.pointSize() : m_settings.fileViewerSize;
    m_viewer->setFixedFont(font);
}

void FileViewerPane::ButtonHexClick()
{
    m_settings.hex = m_context.button(BandButton::Hex)->isChecked();
    m_viewer->setInHexMode(m_settings.hex);
}

void FileViewerPane::PopupFileViewerHexClick()
{
    QToolButton* hex = m_context.button(BandButton::Hex);
    hex->setChecked(!hex->isChecked());
    ButtonHexClick();
}

void FileViewerPane::close()
{
    m_context.switchMode(vmFileManager, m_viewer->FileName());
}

void FileViewerPane::buildPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenuFileViewer"));
    auto add = [this](const char* name, const QString& caption, auto handler) {
        QAction* action = m_popup->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add("PopupFileViewerSelectAll", QStringLiteral("Select All"), [this] { MenuSelectAllClick(); });
    add("PopupFileViewerHex", QStringLiteral("HEX Mode View"), [this] { PopupFileViewerHexClick(); });
    add("PopupFileViewerCopy", QStringLiteral("Copy"), [this] { MenuCopyClick(); });
    add("PopupFileViewerFind", QStringLiteral("Find"), [this] { Q_EMIT findRequested(); });
    add("PopupFileViewerFont", QStringLiteral("Font"), [this] { MenuFontClick(); });
    m_popup->addSeparator();
    add("PopupFileViewerSendCopy", QStringLiteral("Send copy to ..."), [this] { Q_EMIT sendCopyRequested(); });
    add("PopupFileViewerDelete", QStringLiteral("Delete"), [this] { Q_EMIT deleteRequested(); });
    m_popup->addSeparator();
    add("PopupFileViewerClose", QStringLiteral("Close"), [this] { close(); });
    connect(m_popup, &QMenu::aboutToShow, this, &FileViewerPane::PopupMenuFileViewerPopup);
}

void FileViewerPane::PopupMenuFileViewerPopup()
{
    auto item = [this](const char* name) { return m_popup->findChild<QAction*>(QLatin1String(name)); };
    const bool selected = m_viewer->hasSelection();
    item("PopupFileViewerCopy")->setEnabled(selected);
    QAction* hex = item("PopupFileViewerHex");
    hex->setText(m_viewer->InHexMode() ? QStringLiteral("Text Mode View") : QStringLiteral("HEX Mode View"));
    hex->setIcon(style()->standardIcon(m_viewer->InHexMode() ? QStyle::SP_FileDialogListView : QStyle::SP_FileDialogDetailedView));
    item("PopupFileViewerSelectAll")->setText(selected ? QStringLiteral("Un-Select All") : QStringLiteral("Select All"));
}
