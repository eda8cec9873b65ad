#pragma once
// Calls from a worker into the UI thread, where questions are asked and windows live.

#include <atomic>
#include <functional>

// Runs fn on the UI thread and returns when it has run; directly when the caller is already
// there or no application object exists. The calling worker blocks meanwhile, so the UI
// thread must be running its event loop. When *abandon turns true before fn has started,
// the call is given up: fn never runs and the result is false.
bool RunOnUiThread(const std::function<void()>& fn, const std::atomic<bool>* abandon = nullptr);
