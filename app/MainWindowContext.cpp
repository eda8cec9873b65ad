#include "app/MainWindowContext.h"

#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"

MainWindowContext::MainWindowContext(TFormMainFolvane3& window, const MainWindowControls& c)
    : m_window(window)
    , m_c(c)
{
}

QWidget* MainWindowContext::window() const
{
    return &m_window;
}

QMenu* MainWindowContext::menu(MainMenu which) const
{
    // The menu bar's places: "Options" (8) is a command between "Tools" and "Help".
    constexpr int kHelpPlace = 9;
    return m_c.topMenus[size_t(which == MainMenu::Help ? kHelpPlace : int(which))];
}

QToolButton* MainWindowContext::button(BandButton which) const
{
    return m_c.buttons[size_t(which)];
}

QLabel* MainWindowContext::statusPanel(int index) const
{
    return m_c.statusPanels[size_t(index)];
}

QProgressBar* MainWindowContext::meter() const
{
    return m_c.MeterItemStatus;
}

TViewMode MainWindowContext::currentMode() const
{
    return TViewMode(m_window.CurrentMode());
}

void MainWindowContext::switchMode(TViewMode mode, const QString& path)
{
    m_window.enterMode(mode, path);
}

BrowseNavigator& MainWindowContext::navigator() const
{
    return m_window.navigator();
}

QStringList MainWindowContext::recentPaths() const
{
    return m_window.settings().mruPaths;
}

void MainWindowContext::updateRecentPaths(const QString& folder)
{
    m_window.UpdateRecentPaths(folder);
}

QString MainWindowContext::settingsFile() const
{
    return m_window.store().filePath();
}

int& MainWindowContext::historyIndex(HistoryIndex which)
{
    AppSettings& s = m_window.settings();
    switch (which) {
    case HistoryIndex::Ext: return s.extIndex;
    case HistoryIndex::Run: return s.runIndex;
    case HistoryIndex::FindStr: return s.findStrIndex;
    case HistoryIndex::ReplStr: return s.replStrIndex;
    case HistoryIndex::FileStr: return s.fileStrIndex;
    }
    Q_UNREACHABLE();
}

void MainWindowContext::saveSettings()
{
    m_window.SaveSettings();
}

QString MainWindowContext::currentPath() const
{
    return m_window.CurrentPath();
}
