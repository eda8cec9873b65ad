#pragma once
// The text/hex file viewer's stored values (subkey "Viewer"), with their defaults, in
// stored order. The spinner's repeat delay is stored with them.

#include "platform/SettingsTable.h"

#include <span>

struct ViewerSettings {
    bool hex = false;
    bool fileViewerFilterChar = true;
    QString fileViewerFont = QStringLiteral("Terminal");
    int fileViewerSize = 8;
    int spinViewDelay = 500;

    static constexpr const char* kGroup = "Viewer";
    static std::span<const SettingFieldOf<ViewerSettings>> fields();
};
