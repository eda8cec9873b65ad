#pragma once
// The image viewer pane (mode vmImageViewer): the scroll box ScrollBox1 holding the picture
// ImageViewer, and the band ToolBarImage (ButtonZoom stretches the picture to the pane,
// ComboboxScaleJPG picks the JPEG decoding scale). Pictures are decoded on a worker thread
// (PictureFile), so a large file never freezes the window; an animated GIF plays. The movie
// player shows its video in the same scroll box. A frame dragged on a still picture is
// what Copy puts on the clipboard.

#include "platform/ui/ViewPane.h"
#include "viewers/image/CropFrame.h"
#include "viewers/image/PictureFile.h"

#include <QFutureWatcher>
#include <QScrollArea>

class QBuffer;
class QComboBox;
class QLabel;
class QMenu;
class MovieImageMenu;
class QContextMenuEvent;
class QMovie;
class WindowContext;

class ImageViewerPane : public QScrollArea, public ViewPane {
    Q_OBJECT
public:
    // scale is the band's ComboboxScaleJPG, whose index the window stores.
    ImageViewerPane(WindowContext& context, QComboBox* scale, QWidget* parent = nullptr);
    ~ImageViewerPane() override;

    QLabel* ImageViewer() const { return m_image; }
    // The picture shown, empty while none is.
    const LoadedPicture& picture() const { return m_picture; }
    bool isStretched() const { return m_stretch; }

    TViewMode mode() const override { return vmImageViewer; }
    QWidget* widget() const override { return const_cast<ImageViewerPane*>(this); }
    int toolBand() const override { return bandImage; }
    PaneChromes chrome() const override { return {}; }
    QString settingsGroup() const override { return QString(); }
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int direction) override;

    void ButtonZoomClick();
    void ComboboxScaleJPGChange();
    // The Edit menu's Copy and Select All act here in this mode; the actions exist once the
    // window's Edit menu is built.
    void connectEditMenu();
    void MenuCopyClick();
    void MenuSelectAllClick();
    const CropFrame& crop() const { return m_crop; }
    // The context menu PopupMenuMovieImages, as it stands for the picture shown.
    QMenu* PopupMenuMovieImages();

Q_SIGNALS:
    // The picture of the file entered has been shown, or its error reported.
    void pictureShown();
    void loadFailed();

private:
    struct LoadResult {
        ViewerStatus status;
        LoadedPicture picture;
        quint64 generation = 0;
    };

    void load();
    void loaded();
    void show(LoadedPicture picture);
    void clearPicture();
    void applyStretch();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Icons and metafiles are not copied (nor framed); says so when the picture is one.
    bool refusesCopy();
    QPoint picturePoint(QPoint onLabel) const;
    void showFrame();
    void contextMenuEvent(QContextMenuEvent* event) override;

    WindowContext& m_context;
    QComboBox* m_scale;
    QLabel* m_image;
    QFutureWatcher<LoadResult> m_loading;
    LoadedPicture m_picture;
    QMovie* m_movie = nullptr;
    QBuffer* m_movieBytes = nullptr;
    CropFrame m_crop;
    MovieImageMenu* m_popup = nullptr;
    QString m_path;
    // Counts the loads started; a result of an older one (the user moved on) is dropped.
    quint64 m_generation = 0;
    bool m_entered = false;
    bool m_stretch = false;
};
