#include "viewers/ViewerSettings.h"

std::span<const SettingFieldOf<ViewerSettings>> ViewerSettings::fields()
{
    using V = ViewerSettings;
    static const SettingFieldOf<V> table[] = {
        {"HEX", &V::hex},                       {"FileViewerFilterChar", &V::fileViewerFilterChar},
        {"FileViewerFont", &V::fileViewerFont}, {"FileViewerSize", &V::fileViewerSize},
        {"SpinViewDelay", &V::spinViewDelay},
    };
    return table;
}
