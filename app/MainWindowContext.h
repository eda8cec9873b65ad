#pragma once
// The main window as its feature controllers see it (WindowContext over the window and
// its controls).

#include "platform/ui/WindowContext.h"

struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowContext final : public WindowContext {
public:
    MainWindowContext(TFormMainFolvane3& window, const MainWindowControls& c);

    QWidget* window() const override;
    QMenu* menu(MainMenu which) const override;
    QToolButton* button(BandButton which) const override;
    QLabel* statusPanel(int index) const override;
    QProgressBar* meter() const override;
    TViewMode currentMode() const override;
    void switchMode(TViewMode mode, const QString& path = QString()) override;
    BrowseNavigator& navigator() const override;
    QStringList recentPaths() const override;
    void updateRecentPaths(const QString& folder) override;
    QString settingsFile() const override;
    int& historyIndex(HistoryIndex which) override;
    void saveSettings() override;
    QString currentPath() const override;

private:
    TFormMainFolvane3& m_window;
    const MainWindowControls& m_c;
};
