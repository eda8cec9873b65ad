#include "app/WindowSettings.h"

#include <algorithm>
#include <string_view>

std::span<const SettingFieldOf<WindowSettings>> WindowSettings::fields()
{
    using W = WindowSettings;
    static const SettingFieldOf<W> table[] = {
        {"ShowHiddenSystemfiles", &W::showHiddenSystemfiles}, {"OpenByDblClickFV", &W::openByDblClickFV},
        {"SingleDrive", &W::singleDrive},         {"FVVersionStr", &W::versionStr},
        {"ScaleJPGIndex", &W::scaleJPGIndex},     {"FVBrowserWebStr", &W::browserWebStr},
        {"FVCurrentItemSel", &W::currentItemSel}, {"FVCurrentPathSel", &W::currentPathSel},
        {"FVModeCurrent", &W::modeCurrent},       {"AppTop", &W::appTop},
        {"AppLeft", &W::appLeft},                 {"AppHeight", &W::appHeight},
        {"AppWidth", &W::appWidth},               {"PathWidth", &W::pathWidth},
        {"ColNameWidth", &W::colNameWidth},       {"ColSizeWidth", &W::colSizeWidth},
        {"ColTypeWidth", &W::colTypeWidth},       {"ColDateWidth", &W::colDateWidth},
        {"ColAttrWidth", &W::colAttrWidth},       {"AutosizeColumns", &W::autosizeColumns},
        {"AppState", &W::appState},               {"FileSortIndex", &W::fileSortIndex},
        {"DecendSort", &W::decendSort},           {"FileViewIndex", &W::fileViewIndex},
        {"TabBottom", &W::tabBottom},             {"ShowDrives", &W::showDrives},
    };
    return table;
}

std::vector<SettingFieldOf<WindowSettings>> WindowSettings::writeOrder()
{
    const auto read = fields();
    std::vector<SettingFieldOf<WindowSettings>> order(read.begin(), read.end());
    const auto singleDrive = std::find_if(order.begin(), order.end(), [](const SettingFieldOf<WindowSettings>& f) {
        return std::string_view(f.name) == "SingleDrive";
    });
    std::rotate(singleDrive + 1, order.end() - 1, order.end());
    return order;
}
