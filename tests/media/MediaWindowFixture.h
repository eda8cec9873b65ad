#pragma once
// A main window with the controllers' window context, over a temporary home and the fake
// media player: the fixture of the media pane and playlist controller tests.

#include "support/FakeMediaPlayer.h"
#include "support/FakeWindowContext.h"
#include "support/TempHome.h"

#include <QAction>
#include <QMainWindow>

#include <memory>

class MediaWindowFixture : public TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        FakeMediaPlayer::install();
        window = std::make_unique<QMainWindow>();
        context = std::make_unique<FakeWindowContext>(window.get());
    }
    void TearDown() override
    {
        window.reset();
        MediaPlayer::setFactory({});
        TempHomeTest::TearDown();
    }
    // A checkable menu item, as the Music menu's Continuous Play and Shuffle.
    QAction* checkableAction()
    {
        auto* action = new QAction(window.get());
        action->setCheckable(true);
        return action;
    }

    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<FakeWindowContext> context;
};
