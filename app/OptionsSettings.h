#pragma once
// The program options (subkey "Options"), with their defaults, in stored order: the values
// the options dialog sets and the window's play and start-up choices that are stored with
// them.

#include "platform/SettingsTable.h"

#include <span>

struct OptionsSettings {
    bool runMinimized = false;
    int movieRes = 4;
    bool showNextFile = true;
    bool continuousPlay = true;
    bool shuffle = true;
    bool loopMovie = false;
    bool fv3sounds = true;
    bool cleanUpOnExit = false;
    bool useSmallZipToExe = false;
    bool autoStartFolVane = false;
    bool animateStartup = true;
    bool showZipEncryptStatus = false;

    static constexpr const char* kGroup = "Options";
    static std::span<const SettingFieldOf<OptionsSettings>> fields();
};
