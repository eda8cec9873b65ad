#pragma once
// The zip viewer pane ZipViewer (mode vmZipViewer), which shows no band of its own. The
// archive listing is not here yet.

#include "platform/ui/BasicViewPane.h"

class ZipViewerPane : public BasicViewPane {
    Q_OBJECT
public:
    explicit ZipViewerPane(QWidget* parent = nullptr);
};
