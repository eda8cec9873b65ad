#pragma once
// The start-up animation: a frame that grows from the centre of the window's place to its
// full size over one second, after which the window itself is shown. The window's own
// layout is not resized on the way, so pane widths stay as stored.

#include <QRect>

class StartupAnimation {
public:
    static constexpr int kDurationMs = 1000;

    // Runs the animation towards target (screen coordinates) and returns when it is done.
    static void run(const QRect& target);
};
