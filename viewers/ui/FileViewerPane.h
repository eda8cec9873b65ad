#pragma once
// The text/hex file viewer pane FileViewer (mode vmFileViewer): its band ToolBarView, the
// Hex button, and the viewer's stored values (subkey "Viewer"). The viewer itself is not
// here yet.

#include "platform/ui/BasicViewPane.h"

class FileViewerPane : public BasicViewPane {
    Q_OBJECT
public:
    explicit FileViewerPane(QWidget* parent = nullptr);
};
