#include "internet/ui/WebBrowserPane.h"

WebBrowserPane::WebBrowserPane(QWidget* parent)
    : BasicViewPane({vmWebBrowser, "WebBrowser1", bandBrowser, PaneChrome::AddressBox, nullptr}, parent)
{
}
