#include "app/MainWindowLayout.h"

#include "app/MainMenus.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"
#include "media/ui/TFolTrackBar.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* addButton(MainWindowControls& c, BandButton which, QToolBar* bar, const char* name, const QString& hint,
                       QStyle::StandardPixmap icon, bool checkable = false)
{
    auto* button = new QToolButton(bar);
    c.buttons[size_t(which)] = button;
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(QApplication::style()->standardIcon(icon));
    button->setCheckable(checkable);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QToolBar* makeBand(QMainWindow* window, const char* name, const QString& title)
{
    auto* bar = new QToolBar(title, window);
    bar->setObjectName(QLatin1String(name));
    bar->setAllowedAreas(Qt::TopToolBarArea);
    bar->setFloatable(false);
    bar->setMinimumHeight(23);
    bar->setIconSize(QSize(16, 16));
    return bar;
}

// An empty panel that a later part of the program fills; named and placed now.
QWidget* placeholder(const char* name, QWidget* parent)
{
    auto* widget = new QWidget(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setAutoFillBackground(true);
    widget->setBackgroundRole(QPalette::Base);
    return widget;
}

} // namespace

void MainWindowLayout::build(QMainWindow* window, MainWindowControls& c)
{
    MainMenus::build(window, c);
    buildBands(window, c);
    buildClientArea(window, c);
    buildStatusBar(window, c);
}

void MainWindowLayout::buildBands(QMainWindow* window, MainWindowControls& c)
{
    using SP = QStyle;
    QToolBar* global = c.bands[bandGlobal] = makeBand(window, "ToolBarGlobal", QStringLiteral("Global"));
    c.SpinViewer = new QWidget(global);
    c.SpinViewer->setObjectName(QStringLiteral("SpinViewer"));
    auto* spinLayout = new QHBoxLayout(c.SpinViewer);
    spinLayout->setContentsMargins(0, 0, 0, 0);
    spinLayout->setSpacing(0);
    c.SpinViewerPrevious = new QToolButton(c.SpinViewer);
    c.SpinViewerPrevious->setArrowType(Qt::LeftArrow);
    c.SpinViewerPrevious->setToolTip(QStringLiteral("Previous file"));
    c.SpinViewerNext = new QToolButton(c.SpinViewer);
    c.SpinViewerNext->setArrowType(Qt::RightArrow);
    c.SpinViewerNext->setToolTip(QStringLiteral("Next file"));
    for (QToolButton* arrow : {c.SpinViewerPrevious, c.SpinViewerNext}) {
        arrow->setAutoRepeat(true);
        arrow->setAutoRaise(true);
        spinLayout->addWidget(arrow);
    }
    global->addWidget(c.SpinViewer);
    c.ButtonViewFile = addButton(c, BandButton::ViewFile, global, "ButtonViewFile", QStringLiteral("View"), SP::SP_FileDialogContentsView);
    c.MenuViewFile->setIcon(c.ButtonViewFile->icon());
    c.MenuViewFile->setToolTip(c.ButtonViewFile->toolTip());
    c.ButtonViewFile->setDefaultAction(c.MenuViewFile);
    addButton(c, BandButton::Web, global, "ButtonWeb", QStringLiteral("World Wide Web"), SP::SP_DriveNetIcon);
    addButton(c, BandButton::Find, global, "ButtonFind", QStringLiteral("Find"), SP::SP_FileDialogStart);
    addButton(c, BandButton::Time, global, "ButtonTime", QStringLiteral("Calendar Clock"), SP::SP_MessageBoxInformation);

    QToolBar* movie = c.bands[bandMovie] = makeBand(window, "ToolBarMovie", QStringLiteral("Movie"));
    addButton(c, BandButton::Pause, movie, "ButtonPause", QStringLiteral("Play/Pause"), SP::SP_MediaPause);
    addButton(c, BandButton::StepFwd, movie, "ButtonStepFwd", QStringLiteral("Step"), SP::SP_MediaSeekForward);
    c.ButtonLoopMovie = addButton(c, BandButton::LoopMovie, movie, "ButtonLoopMovie", QStringLiteral("Repeat"), SP::SP_BrowserReload, true);
    c.ToolButtonContinuousPlay = addButton(c, BandButton::ContinuousPlay, movie, "ToolButtonContinuousPlay", QStringLiteral("Continuous Play"),
                                           SP::SP_MediaSkipForward, true);
    c.ToolButtonShuffle = addButton(c, BandButton::Shuffle, movie, "ToolButtonShuffle", QStringLiteral("Shuffle"), SP::SP_ArrowRight, true);
    // The play option buttons copy the state of their "Music" menu items.
    c.MenuContinuousplay->setIcon(c.ToolButtonContinuousPlay->icon());
    c.MenuShuffle->setIcon(c.ToolButtonShuffle->icon());
    c.ToolButtonContinuousPlay->setDefaultAction(c.MenuContinuousplay);
    c.ToolButtonShuffle->setDefaultAction(c.MenuShuffle);
    c.TrackBarMediaRes = new QSlider(Qt::Horizontal, movie);
    c.TrackBarMediaRes->setObjectName(QStringLiteral("TrackBarMediaRes"));
    c.TrackBarMediaRes->setRange(0, 4);
    c.TrackBarMediaRes->setPageStep(1);
    c.TrackBarMediaRes->setFixedWidth(80);
    c.TrackBarMediaRes->setToolTip(QStringLiteral("Video size"));
    movie->addWidget(c.TrackBarMediaRes);

    QToolBar* image = c.bands[bandImage] = makeBand(window, "ToolBarImage", QStringLiteral("Image"));
    addButton(c, BandButton::Zoom, image, "ButtonZoom", QStringLiteral("Zoom"), SP::SP_TitleBarMaxButton, true);
    c.ComboboxScaleJPG = new QComboBox(image);
    c.ComboboxScaleJPG->setObjectName(QStringLiteral("ComboboxScaleJPG"));
    c.ComboboxScaleJPG->addItems({QStringLiteral("1:1"), QStringLiteral("1:2"), QStringLiteral("1:4"), QStringLiteral("1:8")});
    image->addWidget(c.ComboboxScaleJPG);

    QToolBar* browser = c.bands[bandBrowser] = makeBand(window, "ToolBarBrowser", QStringLiteral("Browser"));
    addButton(c, BandButton::BrowserBack, browser, "WebBackBtn", QStringLiteral("Back to previous page"), SP::SP_ArrowBack);
    addButton(c, BandButton::BrowserForward, browser, "WebForwardBtn", QStringLiteral("Forward to next page"), SP::SP_ArrowForward);
    addButton(c, BandButton::BrowserStop, browser, "WebStopBtn", QStringLiteral("Stop"), SP::SP_BrowserStop);
    addButton(c, BandButton::BrowserRefresh, browser, "WebRefreshBtn", QStringLiteral("Refresh page"), SP::SP_BrowserReload);
    addButton(c, BandButton::WebHome, browser, "WebHomeBtn", QStringLiteral("Quorvel Home Page"), SP::SP_DirHomeIcon);
    addButton(c, BandButton::WebSave, browser, "WebSaveBtn", QStringLiteral("Save current page as HTML file"), SP::SP_DialogSaveButton);
    addButton(c, BandButton::WebCleanUp, browser, "WebCleanUpBtn", QStringLiteral("Clean recycle bin, internet history,"), SP::SP_TrashIcon)
        ->setText(QStringLiteral("Clean up"));

    QToolBar* editor = c.bands[bandTextEditor] = makeBand(window, "ToolBarTextEditor", QStringLiteral("Text Editor"));
    addButton(c, BandButton::EditorNew, editor, "ButtonEditorNew", QStringLiteral("New"), SP::SP_FileIcon);
    addButton(c, BandButton::Save, editor, "ButtonSave", QStringLiteral("Save"), SP::SP_DialogSaveButton);
    addButton(c, BandButton::TextEditorMail, editor, "ButtonTextEditorMail", QStringLiteral("Email"), SP::SP_DialogYesButton);
    addButton(c, BandButton::EditorCut, editor, "ButtonEditorCut", QStringLiteral("Cut"), SP::SP_DialogDiscardButton);
    addButton(c, BandButton::EditorCopy, editor, "ButtonEditorCopy", QStringLiteral("Copy"), SP::SP_FileLinkIcon);
    addButton(c, BandButton::EditorPaste, editor, "ButtonEditorPaste", QStringLiteral("Paste"), SP::SP_DialogApplyButton);
    addButton(c, BandButton::EditorFont, editor, "ButtonEditorFont", QStringLiteral("Font"), SP::SP_DesktopIcon);
    addButton(c, BandButton::TextEditorPrint, editor, "ButtonTextEditorPrint", QStringLiteral("Print"), SP::SP_ComputerIcon);
    addButton(c, BandButton::Open, editor, "ButtonOpen", QStringLiteral("Open Path/File"), SP::SP_DialogOpenButton);
    addButton(c, BandButton::UnDo, editor, "ButtonUnDo", QStringLiteral("Undo"), SP::SP_ArrowBack);
    addButton(c, BandButton::EditorDelete, editor, "ButtonEditorDelete", QStringLiteral("Delete"), SP::SP_TrashIcon);

    QToolBar* view = c.bands[bandView] = makeBand(window, "ToolBarView", QStringLiteral("File Viewer"));
    c.ButtonHex = addButton(c, BandButton::Hex, view, "ButtonHex", QStringLiteral("Hex"), SP::SP_FileDialogDetailedView, true);
    addButton(c, BandButton::FileViewerCopy, view, "ButtonFileViewerCopy", QStringLiteral("Copy"), SP::SP_FileLinkIcon);
    addButton(c, BandButton::ViewerFont, view, "ButtonViewerFont", QStringLiteral("Font"), SP::SP_DesktopIcon);

    QToolBar* files = c.bands[bandFileManger] = makeBand(window, "ToolBarFileManger", QStringLiteral("File Manager"));
    c.ComboBoxMask = new QComboBox(files);
    c.ComboBoxMask->setObjectName(QStringLiteral("ComboBoxMask"));
    c.ComboBoxMask->setEditable(true);
    c.ComboBoxMask->setMaxVisibleItems(25);
    c.ComboBoxMask->setInsertPolicy(QComboBox::NoInsert);
    c.ComboBoxMask->setMinimumContentsLength(6);
    files->addWidget(c.ComboBoxMask);
    addButton(c, BandButton::SingleDrive, files, "ButtonSingleDrive", QStringLiteral("Change Single/All"), SP::SP_DriveHDIcon);
    addButton(c, BandButton::DeskTop, files, "ButtonDeskTop", QStringLiteral("Windows Desktop"), SP::SP_DesktopIcon);
    addButton(c, BandButton::Refresh, files, "ButtonRefresh", QStringLiteral("Refresh"), SP::SP_BrowserReload);
    addButton(c, BandButton::DetailType, files, "ButtonDetailType", QStringLiteral("Items List Views"), SP::SP_FileDialogListView);
    addButton(c, BandButton::NewTextFile, files, "ButtonNewTextFile", QStringLiteral("New Text File"), SP::SP_FileIcon);
    addButton(c, BandButton::Zip, files, "ButtonZip", QStringLiteral("Zip"), SP::SP_DirClosedIcon);
    addButton(c, BandButton::UnZip, files, "ButtonUnZip", QStringLiteral("UnZip"), SP::SP_DirOpenIcon);
    addButton(c, BandButton::Sync, files, "ButtonSync", QStringLiteral("Synchronize Folders"), SP::SP_BrowserReload);
    addButton(c, BandButton::Dup, files, "ButtonDup", QStringLiteral("Find Duplicates"), SP::SP_FileDialogContentsView);
    addButton(c, BandButton::TextEditor, files, "ButtonTextEditor", QStringLiteral("Edit file as Text"), SP::SP_FileIcon);
    addButton(c, BandButton::Delete, files, "ButtonDelete", QStringLiteral("Delete"), SP::SP_TrashIcon);
    addButton(c, BandButton::C_Prompt, files, "ButtonC_Prompt",
              QStringLiteral("Command line, Reboot,  Log off, Shut down, Power off, Restart"), SP::SP_ComputerIcon);
    addButton(c, BandButton::Mail, files, "ButtonMail", QStringLiteral("Email"), SP::SP_DialogYesButton);

    for (int i = 0; i < kBandCount; ++i) {
        if (kBandStartsRow[i] && i > 0)
            window->addToolBarBreak(Qt::TopToolBarArea);
        window->addToolBar(Qt::TopToolBarArea, c.bands[i]);
    }
}

void MainWindowLayout::buildClientArea(QMainWindow* window, MainWindowControls& c)
{
    auto* client = new QWidget(window);
    client->setObjectName(QStringLiteral("ClientArea"));
    c.clientLayout = new QVBoxLayout(client);
    c.clientLayout->setContentsMargins(0, 0, 0, 0);
    c.clientLayout->setSpacing(0);

    c.ComboBoxURL = new QComboBox(client);
    c.ComboBoxURL->setObjectName(QStringLiteral("ComboBoxURL"));
    c.ComboBoxURL->setEditable(true);
    c.ComboBoxURL->hide();
    c.clientLayout->addWidget(c.ComboBoxURL);

    c.TabControlDriveFol1 = new TTabControlDriveFol(client);
    c.TabControlDriveFol1->setObjectName(QStringLiteral("TabControlDriveFol1"));
    c.TabControlDriveFol1->setMinimumHeight(kTabHeight);
    c.clientLayout->addWidget(c.TabControlDriveFol1);

    c.Splitter1 = new QSplitter(Qt::Horizontal, client);
    c.Splitter1->setObjectName(QStringLiteral("Splitter1"));
    c.Splitter1->setChildrenCollapsible(false);
    c.PanelPath = new QWidget(c.Splitter1);
    c.PanelPath->setObjectName(QStringLiteral("PanelPath"));
    auto* pathLayout = new QVBoxLayout(c.PanelPath);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    c.Splitter2 = new QSplitter(Qt::Vertical, c.PanelPath);
    c.Splitter2->setObjectName(QStringLiteral("Splitter2"));
    c.Splitter2->setChildrenCollapsible(false);
    c.PathViewFol1 = new TPathViewFol(c.Splitter2);
    c.PathViewFol1->setObjectName(QStringLiteral("PathViewFol1"));
    c.PanelAudio = placeholder("PanelAudio", c.Splitter2);
    c.PanelAudio->setBackgroundRole(QPalette::Window);
    c.Splitter2->addWidget(c.PathViewFol1);
    c.Splitter2->addWidget(c.PanelAudio);
    c.Splitter2->setStretchFactor(0, 1);
    c.Splitter2->setSizes({kClientHeight - kAudioHeight, kAudioHeight});
    // The playlist panel shows only while the playlist has entries.
    c.PanelAudio->hide();
    pathLayout->addWidget(c.Splitter2);

    buildRightPane(c);
    c.Splitter1->addWidget(c.PanelPath);
    c.Splitter1->addWidget(c.rightPane);
    c.Splitter1->setStretchFactor(1, 1);
    c.Splitter1->setSizes({kPathWidth, kClientWidth - kPathWidth});
    c.clientLayout->addWidget(c.Splitter1, 1);

    c.MediaTrackBar = new TFolTrackBar(client);
    c.MediaTrackBar->setObjectName(QStringLiteral("MediaTrackBar"));
    c.MediaTrackBar->hide();
    c.clientLayout->addWidget(c.MediaTrackBar);

    window->setCentralWidget(client);
}

void MainWindowLayout::buildRightPane(MainWindowControls& c)
{
    c.rightPane = new QStackedWidget(c.Splitter1);
    c.rightPane->setObjectName(QStringLiteral("RightPane"));
    c.FileViewFol1 = new TFileViewFol(c.rightPane);
    c.FileViewFol1->setObjectName(QStringLiteral("FileViewFol1"));
    c.rightPane->addWidget(c.FileViewFol1);
}

void MainWindowLayout::buildStatusBar(QMainWindow* window, MainWindowControls& c)
{
    c.StatusBar = new QStatusBar(window);
    c.StatusBar->setObjectName(QStringLiteral("StatusBar"));
    c.StatusBar->setSizeGripEnabled(true);
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(c.StatusBar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(kStatusWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        c.StatusBar->addWidget(panel);
        c.statusPanels[i] = panel;
    }
    // The progress meter sits inside the fourth panel and shows only during long work.
    c.MeterItemStatus = new QProgressBar(c.statusPanels[3]);
    c.MeterItemStatus->setObjectName(QStringLiteral("MeterItemStatus"));
    c.MeterItemStatus->setTextVisible(false);
    auto* meterLayout = new QHBoxLayout(c.statusPanels[3]);
    meterLayout->setContentsMargins(2, 1, 2, 1);
    meterLayout->addWidget(c.MeterItemStatus);
    c.MeterItemStatus->hide();
    window->setStatusBar(c.StatusBar);
}

void MainWindowLayout::placeDriveTabs(MainWindowControls& c, bool bottom)
{
    c.clientLayout->removeWidget(c.TabControlDriveFol1);
    const int splitterAt = c.clientLayout->indexOf(c.Splitter1);
    c.clientLayout->insertWidget(bottom ? splitterAt + 1 : splitterAt, c.TabControlDriveFol1);
    c.TabControlDriveFol1->setShape(bottom ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
}

QRect MainWindowLayout::statusPanelRect(const MainWindowControls& c, int panel)
{
    const QLabel* label = c.statusPanels[size_t(panel)];
    return QRect(label->mapTo(c.StatusBar, QPoint(0, 0)), label->size());
}
