#include "app/MainWindowPanes.h"

#include "app/MainWindowControls.h"
#include "app/TFormMainFolvane3.h"
#include "archive/ui/ZipViewerPane.h"
#include "browse/FileManagerPane.h"
#include "internet/ui/CleanupCommand.h"
#include "internet/ui/TFavoritesMenu.h"
#include "internet/ui/WebBrowserPane.h"
#include "media/ui/AudioPlayerController.h"
#include "platform/Shell.h"
#include "media/ui/MoviePlayerPane.h"
#include "app/MainWindowModes.h"
#include "browse/TFileViewFol.h"
#include "viewers/FileKinds.h"
#include "viewers/ui/FileViewerPane.h"
#include "viewers/ui/ImageViewerPane.h"
#include "viewers/ui/TextEditorPane.h"
#include "viewers/ui/ViewerCommands.h"
#include "fileops/ui/TransferMenus.h"

#include <QStackedWidget>
#include <QToolButton>

void MainWindowPanes::registerAll(TFormMainFolvane3& window, MainWindowControls& c)
{
    QWidget* stack = c.rightPane;
    window.registerPane(new FileManagerPane(c.TabControlDriveFol1, c.PathViewFol1, c.FileViewFol1, &window));
    window.registerPane(new WebBrowserPane(window.context(), c.ComboBoxURL, stack));
    window.registerPane(new FileViewerPane(window.context(), window.settings(), stack));
    window.registerPane(new TextEditorPane(window.context(), window.settings(), stack));
    auto* image = new ImageViewerPane(window.context(), c.ComboboxScaleJPG, stack);
    // The movie plays in the image viewer's scroll box.
    AppSettings& settings = window.settings();
    window.registerPane(new MoviePlayerPane(window.context(), image, c.MediaTrackBar, c.TrackBarMediaRes, c.ButtonLoopMovie,
                                            [&settings] { return settings.showNextFile; }, &window));
    window.registerPane(image);
    window.registerPane(new ZipViewerPane(window.context(), stack));
}

void MainWindowPanes::connectCommands(TFormMainFolvane3& window)
{
    auto* viewer = dynamic_cast<FileViewerPane*>(window.pane(vmFileViewer));
    auto* editor = dynamic_cast<TextEditorPane*>(window.pane(vmTextEditor));
    viewer->setBrowsePanes(&window.transferMenus().panes());
    new ViewerCommands(window.context(), *viewer, *editor);
    dynamic_cast<ImageViewerPane*>(window.pane(vmImageViewer))->connectEditMenu();
    connectMedia(window);
    connectWebCommands(window);
}

void MainWindowPanes::connectMedia(TFormMainFolvane3& window)
{
    const MainWindowControls& c = window.controls();
    auto* movie = dynamic_cast<MoviePlayerPane*>(window.pane(vmMoviePlayer));
    // Show Next File: the list's next item, in the movie pane when it is a movie.
    QObject::connect(movie, &MoviePlayerPane::nextFileRequested, &window, [&window] {
        const QString next = window.modes().StepFileSelection(true);
        window.modes().SwitchViewMode(FileKinds::IsMovieFile(next) ? vmMoviePlayer : vmFileManager, next);
    }, Qt::QueuedConnection);
    auto* audio = new AudioPlayerController(window.context(), c.PanelAudio, c.MenuContinuousplay, c.MenuShuffle, &window);
    TFileViewFol* list = c.FileViewFol1;
    audio->setFileList([list] {
        QStringList paths;
        const QAbstractItemModel& model = list->model();
        for (int row = 0; row < model.rowCount(); ++row)
            paths << model.index(row, 0).data(FileListModel::FullPathRole).toString();
        return paths;
    }, [list] { return list->selectedPaths(); });
    QObject::connect(list, &TFileViewFol::loaded, audio, &AudioPlayerController::recheck);
    QObject::connect(&window, &TFormMainFolvane3::playlistRequested, audio, &AudioPlayerController::viewAudio);
}

void MainWindowPanes::connectWebCommands(TFormMainFolvane3& window)
{
    auto* browser = dynamic_cast<WebBrowserPane*>(window.pane(vmWebBrowser));
    WindowContext& context = window.context();
    // "Favorites" comes third in the menu bar, after "File" and "Path"; browsers' bookmark
    // files are imported and exported from it too.
    auto* favorites = new TFavoritesMenu(window.controls().MainMenu1, SpecialFolderPath(SpecialFolder::Favorites), 3, &window,
                                         TFavoritesMenu::kDefaultOptions | FavoritesOption::ImportFavorites
                                             | FavoritesOption::ExportFavorites);
    favorites->setWebbrowser(browser);
    QObject::connect(favorites, &TFavoritesMenu::URLSelected, browser, &WebBrowserPane::NavigateTo);
    QObject::connect(favorites, &TFavoritesMenu::organizeRequested, &window,
                     [&context](const QString& folder) { context.switchMode(vmFileManager, folder); });
    new CleanupCommand(context, *browser);
}
