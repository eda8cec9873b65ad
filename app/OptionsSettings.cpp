#include "app/OptionsSettings.h"

std::span<const SettingFieldOf<OptionsSettings>> OptionsSettings::fields()
{
    using O = OptionsSettings;
    static const SettingFieldOf<O> table[] = {
        {"RunMinimized", &O::runMinimized},         {"MovieRes", &O::movieRes},
        {"ShowNextFile", &O::showNextFile},         {"ContinuousPlay", &O::continuousPlay},
        {"Shuffle", &O::shuffle},                   {"LoopMovie", &O::loopMovie},
        {"fv3sounds", &O::fv3sounds},               {"CleanUpOnExit", &O::cleanUpOnExit},
        {"UseSmallZipToExe", &O::useSmallZipToExe}, {"AutoStartFolVane", &O::autoStartFolVane},
        {"AnimateStartup", &O::animateStartup},     {"ShowZipEncryptStatus", &O::showZipEncryptStatus},
    };
    return table;
}
