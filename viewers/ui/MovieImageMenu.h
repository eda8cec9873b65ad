#pragma once
// The context menu PopupMenuMovieImages, shared by the picture viewer and the movie player:
// "Copy" (pictures only), "Delete", "Move to...", "Copy to...", "Email", "Close" and
// "Properties". The items run the window's own commands with the file shown in the action's
// data, so they act on that file whichever pane had the focus: Delete and Move to from the
// file manager (the pane closes first, which for a movie stops and closes the player),
// Copy to, Email and Properties from where the user is. Close goes back to the file manager.

#include <QMenu>

#include <functional>

class WindowContext;

class MovieImageMenu : public QMenu {
    Q_OBJECT
public:
    // shownFile: the file shown, which the file manager selects when the pane is closed.
    // copy: the picture viewer's Copy; a menu made without one has no Copy item.
    MovieImageMenu(WindowContext& context, std::function<QString()> shownFile, std::function<void()> copy, QWidget* parent);

    // The Copy item, nullptr in a menu without one.
    QAction* copyItem() const { return m_copy; }

private:
    QAction* addItem(const QString& caption, const char* name, std::function<void()> run);
    // Runs the window's action of that name on the file shown, from the file manager when
    // fromFileManager.
    void runWindowAction(const char* name, bool fromFileManager);

    WindowContext& m_context;
    std::function<QString()> m_shownFile;
    QAction* m_copy = nullptr;
};
