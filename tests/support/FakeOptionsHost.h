#pragma once
// An OptionsHost for the options dialog's tests and pictures: its own settings and settings
// file, counters of what the dialog asked, and an automatic-start entry that can refuse.

#include "app/OptionsHost.h"

#include <QWidget>

#include <memory>

class FakeOptionsHost : public OptionsHost {
public:
    QWidget* window() const override { return m_window.get(); }
    AppSettings& settings() override { return m_settings; }
    QString settingsFile() const override { return m_file; }
    void applySettings() override { ++applied; }
    void refreshBrowse() override { ++refreshed; }
    QString treeFolder() const override { return folder; }
    bool autoStartExists() const override { return autoStart; }
    bool applyAutoStart(bool enabled) override
    {
        if (autoStartWritable)
            autoStart = enabled;
        return autoStartWritable;
    }
    Status clearWebCache() override { return Status(); }
    Status clearWebHistory() override { return Status(); }
    Status emptyTempFolder() override { return Status(); }
    QString tempFolder() const override { return QStringLiteral("/tmp"); }
    void runCleanup() override { ++cleanups; }
    void organizeFavorites() override { ++organized; }

    AppSettings m_settings;
    QString m_file;
    QString folder;
    std::unique_ptr<QWidget> m_window = std::make_unique<QWidget>();
    int applied = 0;
    int refreshed = 0;
    int cleanups = 0;
    int organized = 0;
    bool autoStart = false;
    bool autoStartWritable = true;
};
