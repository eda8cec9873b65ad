#pragma once
// GStreamer's fakeaudiosink (plugins-bad) stands for the sound card in tests of the media back
// end: it keeps the clock running as a real sink does, so nothing waits for a device that a
// build machine lacks. Set as the test program loads, before the media framework starts.

#include <QtGlobal>

inline const bool kNullAudioSink = [] {
    qputenv("GST_PLUGIN_FEATURE_RANK", "fakeaudiosink:MAX");
    return true;
}();
