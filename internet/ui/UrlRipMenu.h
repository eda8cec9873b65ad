#pragma once
// The Tools menu's "URL download" item (MenuURLRip): opens the file ripper's dialog on the
// folder selected in the folder tree. The item is visible, so the ripper is reachable.

#include <QObject>

class QAction;
class WindowContext;

class UrlRipMenu : public QObject {
    Q_OBJECT
public:
    explicit UrlRipMenu(WindowContext& context, QObject* parent = nullptr);

    QAction* MenuURLRip = nullptr;

private:
    void MenuURLRipClick();

    WindowContext& m_context;
};
