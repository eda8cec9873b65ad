#pragma once
// A temporary home with a settings store, and a main window made over it: the fixture of
// the main-window tests.

#include "app/AppSettings.h"
#include "app/SettingsStore.h"
#include "app/TFormMainFolvane3.h"
#include "platform/Registry.h"
#include "support/BrowseWaits.h"
#include "support/TempHome.h"

#include <QSignalSpy>

#include <QTest>

#include <functional>
#include <memory>

class MainWindowFixture : public TempHomeTest {
protected:
    QString path() const { return Registry::userStorePath(); }

    // Stores values as an earlier run would have left them.
    void store(const std::function<void(AppSettings&)>& change)
    {
        AppSettings settings;
        change(settings);
        ASSERT_TRUE(SettingsStore(path()).save(settings));
    }

    // The window shown, its start folder found and listed, as a user sees it after start.
    std::unique_ptr<TFormMainFolvane3> shown()
    {
        auto window = std::make_unique<TFormMainFolvane3>(path());
        QSignalSpy started(window.get(), &TFormMainFolvane3::splashDone);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        EXPECT_TRUE(started.size() > 0 || started.wait(10000));
        EXPECT_TRUE(waitForList(*window->controls().FileViewFol1));
        return window;
    }
};
