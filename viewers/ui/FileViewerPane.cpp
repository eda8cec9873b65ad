#include "viewers/ui/FileViewerPane.h"

#include "viewers/ViewerSettings.h"

FileViewerPane::FileViewerPane(QWidget* parent)
    : BasicViewPane({vmFileViewer, "FileViewer", bandView, PaneChrome::HexButton, ViewerSettings::kGroup}, parent)
{
}
