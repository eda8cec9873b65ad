#pragma once
// The main window's side of the options dialog: "Options" in the menu bar opens it, and
// the window is its OptionsHost (its settings, putting them on the controls and panes, the
// browse refresh and folder, the automatic-start entry, the clean-up steps).

#include "app/OptionsHost.h"

#include <QObject>

class CleanupCommand;
class TFormMainFolvane3;

class MainWindowOptions : public QObject, public OptionsHost {
    Q_OBJECT
public:
    explicit MainWindowOptions(TFormMainFolvane3& window);

    void MenuOptionSetClick();

    QWidget* window() const override;
    AppSettings& settings() override;
    QString settingsFile() const override;
    void applySettings() override;
    void refreshBrowse() override;
    QString treeFolder() const override;
    bool autoStartExists() const override;
    bool applyAutoStart(bool enabled) override;
    Status clearWebCache() override;
    Status clearWebHistory() override;
    Status emptyTempFolder() override;
    QString tempFolder() const override;
    void runCleanup() override;
    void organizeFavorites() override;

private:
    CleanupCommand& cleanup() const;

    TFormMainFolvane3& m_window;
};
