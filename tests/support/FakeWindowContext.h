#pragma once
// A WindowContext for controller tests: a main window with the ten menus, band buttons
// made on demand, four status panels and a meter, a mode that switches when asked, a
// navigator, and recent folders and history indexes the test can read and bind.

#include "browse/BrowseNavigator.h"
#include "platform/ui/WindowContext.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>

#include <array>
#include <functional>

class FakeWindowContext final : public WindowContext {
public:
    explicit FakeWindowContext(QMainWindow* window)
        : m_window(window)
    {
        const char* const captions[] = {"&File", "&Path", "&Edit", "&Search", "&Music", "&Drive", "File &Tools", "T&ools", "&Help"};
        for (size_t i = 0; i < m_menus.size(); ++i)
            m_menus[i] = window->menuBar()->addMenu(QLatin1String(captions[i]));
        for (QLabel*& panel : m_panels)
            panel = new QLabel(window);
        m_meter = new QProgressBar(window);
        for (size_t i = 0; i < m_indexes.size(); ++i)
            m_indexes[i] = &m_ownIndexes[i];
    }

    // The test's own variable stands for a stored index.
    void bindHistoryIndex(HistoryIndex which, int* index) { m_indexes[size_t(which)] = index; }
    // Told every recent-folders update.
    QStringList switchPaths; // the path each switch showed
    std::function<void(const QString&)> recentPathUpdated;
    // Every mode switch asked for, in order.
    QList<TViewMode> switches;

    QWidget* window() const override { return m_window; }
    QMenu* menu(MainMenu which) const override { return m_menus[size_t(which)]; }
    QToolButton* button(BandButton which) const override
    {
        QToolButton*& button = m_buttons[size_t(which)];
        if (!button)
            button = new QToolButton(m_window);
        return button;
    }
    QLabel* statusPanel(int index) const override { return m_panels[size_t(index)]; }
    QProgressBar* meter() const override { return m_meter; }
    TViewMode currentMode() const override { return m_mode; }
    void switchMode(TViewMode mode, const QString& path = QString()) override
    {
        m_mode = mode;
        switches.append(mode);
        switchPaths.append(path);
    }
    BrowseNavigator& navigator() const override { return m_navigator; }
    QStringList recentPaths() const override { return m_recent; }
    void updateRecentPaths(const QString& folder) override
    {
        m_recent.prepend(folder);
        if (recentPathUpdated)
            recentPathUpdated(folder);
    }
    QString settingsFile() const override { return m_settingsFile; }
    void setSettingsFile(const QString& path) { m_settingsFile = path; }
    int& historyIndex(HistoryIndex which) override { return *m_indexes[size_t(which)]; }
    // Counts the saves asked for.
    int settingsSaves = 0;
    void saveSettings() override { ++settingsSaves; }
    QString currentPath() const override { return m_currentPath; }
    void setCurrentPath(const QString& path) { m_currentPath = path; }

private:
    QMainWindow* m_window;
    std::array<QMenu*, 9> m_menus{};
    mutable std::array<QToolButton*, kBandButtonCount> m_buttons{};
    std::array<QLabel*, 4> m_panels{};
    QProgressBar* m_meter = nullptr;
    TViewMode m_mode = vmFileManager;
    mutable BrowseNavigator m_navigator;
    QStringList m_recent;
    QString m_settingsFile;
    QString m_currentPath;
    std::array<int, 5> m_ownIndexes{};
    std::array<int*, 5> m_indexes{};
};
