#pragma once
// Gives a test its own HOME and XDG folders in a fresh temporary folder, so that no test
// reads or writes the home of whoever runs it, and installs FakePrompter and FakePickers.
//
//   class MyTest : public TempHomeTest {};
//   TEST_F(MyTest, X) { prompter().answer(PromptButton::Yes); ... }
//
// Layout under root(): home/, home/.config (XDG_CONFIG_HOME), home/.local/share
// (XDG_DATA_HOME), home/.cache (XDG_CACHE_HOME), runtime/ (XDG_RUNTIME_DIR) and etc-xdg/
// (XDG_CONFIG_DIRS, standing for /etc/xdg).

#include "support/FakePickers.h"
#include "support/FakePrompter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString root() const { return m_dir.path(); }
    QString home() const;
    QString configHome() const;
    QString dataHome() const;
    QString systemConfigDir() const;

    // The environment a child process (the real program) should get to use this home.
    QStringList environment() const;

    // Removes again every home removed so far. The web engine finishes some writes of a
    // closed profile (cache index, GPU cache) on its own threads a moment later, and may
    // make a removed home again; the test main calls this once the application object,
    // and with it the engine and its threads, is gone.
    static void removeAgainAfterLateWriters();

private:
    QTemporaryDir m_dir;
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};

class TempHomeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TempHome& home() { return *m_home; }
    FakePrompter& prompter() { return m_prompter; }
    FakePickers& pickers() { return m_pickers; }

    // Creates a file (and its folders) under the temporary root with the given bytes;
    // returns its absolute path.
    QString makeFile(const QString& relativePath, const QByteArray& bytes = QByteArray());
    QString makeFolder(const QString& relativePath);

private:
    std::unique_ptr<TempHome> m_home;
    FakePrompter m_prompter;
    FakePickers m_pickers;
};
