#include "app/MainWindowPanes.h"

#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "archive/ui/ZipViewerPane.h"
#include "browse/FileManagerPane.h"
#include "internet/ui/CleanupCommand.h"
#include "internet/ui/TFavoritesMenu.h"
#include "internet/ui/WebBrowserPane.h"
#include "platform/Shell.h"
#include "media/ui/MoviePlayerPane.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/ImageViewerPane.h"
#include "viewers/ui/TextEditorPane.h"
#include "viewers/ui/ViewerCommands.h"
#include "fileops/ui/TransferMenus.h"

#include <QStackedWidget>

void MainWindowPanes::registerAll(TFormMainFolvane3& window, MainWindowControls& c)
{
    QWidget* stack = c.rightPane;
    window.registerPane(new FileManagerPane(c.TabControlDriveFol1, c.PathViewFol1, c.FileViewFol1, &window));
    window.registerPane(new WebBrowserPane(window.context(), c.ComboBoxURL, stack));
    window.registerPane(new FileViewerPane(window.context(), window.settings(), stack));
    window.registerPane(new TextEditorPane(window.context(), window.settings(), stack));
    auto* image = new ImageViewerPane(window.context(), c.ComboboxScaleJPG, stack);
    // The movie plays in the image viewer's scroll box.
    window.registerPane(new MoviePlayerPane(image, &window));
    window.registerPane(image);
    window.registerPane(new ZipViewerPane(stack));
}

void MainWindowPanes::connectCommands(TFormMainFolvane3& window)
{
    auto* viewer = dynamic_cast<FileViewerPane*>(window.pane(vmFileViewer));
    auto* editor = dynamic_cast<TextEditorPane*>(window.pane(vmTextEditor));
    viewer->setBrowsePanes(&window.transferMenus().panes());
    new ViewerCommands(window.context(), *viewer, *editor);
    dynamic_cast<ImageViewerPane*>(window.pane(vmImageViewer))->connectEditMenu();
    connectWebCommands(window);
}

void MainWindowPanes::connectWebCommands(TFormMainFolvane3& window)
{
    auto* browser = dynamic_cast<WebBrowserPane*>(window.pane(vmWebBrowser));
    WindowContext& context = window.context();
    // "Favorites" comes third in the menu bar, after "File" and "Path".
    auto* favorites = new TFavoritesMenu(window.controls().MainMenu1, SpecialFolderPath(SpecialFolder::Favorites), 3, &window);
    favorites->setWebbrowser(browser);
    QObject::connect(favorites, &TFavoritesMenu::URLSelected, browser, &WebBrowserPane::NavigateTo);
    QObject::connect(favorites, &TFavoritesMenu::organizeRequested, &window,
                     [&context](const QString& folder) { context.switchMode(vmFileManager, folder); });
    new CleanupCommand(context, *browser);
}

bool MainWindowPanes::isPlaceholder(int mode)
{
    return mode == vmMoviePlayer || mode == vmZipViewer;
}
