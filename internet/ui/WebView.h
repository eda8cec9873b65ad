#pragma once
// The page area of the web pane as the window sees it: an engine view that the web module
// (WebEngineModule) makes, so that nothing outside the module links the engine. Addresses
// are fully encoded texts; the view loads only what it is given and reports what it does.

#include <QWidget>

class WebView : public QWidget {
    Q_OBJECT
public:
    // Inline: the module makes views, and an executable keeps only the code it uses itself.
    explicit WebView(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }

    virtual void load(const QString& address) = 0;
    virtual void stop() = 0;
    // The page shown, empty before the first load.
    virtual QString address() const = 0;
    virtual QString title() const = 0;
    // Saves the page on show as one HTML file at target; pageSaved reports the end.
    virtual void savePage(const QString& target) = 0;

Q_SIGNALS:
    // A main-frame navigation that passed the address rules, before it loads.
    void mainFrameNavigating(const QString& address);
    void loadStarted();
    void loadProgress(int progress);
    void loadFinished(bool ok);
    void linkHovered(const QString& link);
    // ok false: target was left as it was.
    void pageSaved(const QString& target, bool ok);
};
