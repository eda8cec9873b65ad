#include "archive/ui/ZipViewerPane.h"

ZipViewerPane::ZipViewerPane(QWidget* parent)
    : BasicViewPane({vmZipViewer, "ZipViewer", kNoBand, {}, nullptr}, parent)
{
}
