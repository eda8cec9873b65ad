#pragma once
// The web browser pane WebBrowser1 (mode vmWebBrowser): its band ToolBarBrowser and the
// address box ComboBoxURL. The browser engine is not here yet.

#include "platform/ui/BasicViewPane.h"

class WebBrowserPane : public BasicViewPane {
    Q_OBJECT
public:
    explicit WebBrowserPane(QWidget* parent = nullptr);
};
