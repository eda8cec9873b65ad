#include "app/MainWindowSettings.h"

#include "app/MainWindowLayout.h"
#include "browse/FileSortOrder.h"
#include "browse/TFileViewFol.h"
#include "browse/TPathViewFol.h"
#include "browse/TTabControlDriveFol.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QSlider>
#include <QSplitter>
#include <QToolButton>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kMinimumSide = 200;

// FileViewIndex 0 to 3: details, list, small icons, large icons.
constexpr TViewStyle kViewStyles[] = {TViewStyle::vsReport, TViewStyle::vsList, TViewStyle::vsSmallIcon, TViewStyle::vsIcon};

} // namespace

void MainWindowSettings::apply(QMainWindow* window, MainWindowControls& c, const AppSettings& s)
{
    if (s.scaleJPGIndex >= 0 && s.scaleJPGIndex < c.ComboboxScaleJPG->count())
        c.ComboboxScaleJPG->setCurrentIndex(s.scaleJPGIndex);
    window->move(s.appLeft, s.appTop);
    window->resize(qMax(kMinimumSide, s.appWidth), qMax(kMinimumSide, s.appHeight));
    const int pathWidth = qBound(0, s.pathWidth, qMax(kMinimumSide, s.appWidth) - 40);
    c.Splitter1->setSizes({pathWidth, qMax(1, window->width() - pathWidth)});
    // A window closed minimised opens normal.
    window->setWindowState(s.appState == int(StoredWindowState::Maximized) ? Qt::WindowMaximized : Qt::WindowNoState);

    c.ButtonHex->setChecked(s.hex);
    c.SpinViewerPrevious->setAutoRepeatDelay(qMax(0, s.spinViewDelay));
    c.SpinViewerNext->setAutoRepeatDelay(qMax(0, s.spinViewDelay));
    c.TrackBarMediaRes->setValue(s.movieRes);
    c.MenuContinuousplay->setChecked(s.continuousPlay);
    c.MenuShuffle->setChecked(s.shuffle);
    c.ButtonLoopMovie->setChecked(s.loopMovie);

    MainWindowLayout::placeDriveTabs(c, s.tabBottom);
    applyMasks(c, s.masks, s.maskIndex);
    applyBrowse(c, s);
}

void MainWindowSettings::applyBrowse(MainWindowControls& c, const AppSettings& s)
{
    FileSortOrder::FileSortIndex = qBound(0, s.fileSortIndex, 4);
    FileSortOrder::DecendSort = s.decendSort;
    TFileViewFol* list = c.FileViewFol1;
    list->setColumnWidths({s.colNameWidth, s.colSizeWidth, s.colTypeWidth, s.colDateWidth, s.colAttrWidth});
    list->setAutoSizeColumns(s.autosizeColumns);
    list->setOpenByDblClickFV(s.openByDblClickFV);
    applyViewStyle(list, s.fileViewIndex);
    if (c.ComboBoxMask->currentIndex() >= 0)
        list->setMask(c.ComboBoxMask->currentText());
    c.TabControlDriveFol1->setShowDrives(s.showDrives);
    c.PathViewFol1->setSingleDrive(s.singleDrive);
}

int MainWindowSettings::applyViewStyle(TFileViewFol* list, int fileViewIndex)
{
    const int index = fileViewIndex >= 0 && fileViewIndex < int(std::size(kViewStyles)) ? fileViewIndex : 0;
    list->setViewStyle(kViewStyles[index]);
    return index;
}

int MainWindowSettings::fileViewIndex(const TFileViewFol* list)
{
    const auto* found = std::find(std::begin(kViewStyles), std::end(kViewStyles), list->ViewStyle());
    return found == std::end(kViewStyles) ? 0 : int(found - std::begin(kViewStyles));
}

void MainWindowSettings::applyMasks(MainWindowControls& c, const QStringList& masks, int maskIndex)
{
    c.ComboBoxMask->clear();
    c.ComboBoxMask->addItems(masks);
    if (maskIndex >= 0 && maskIndex < c.ComboBoxMask->count())
        c.ComboBoxMask->setCurrentIndex(maskIndex);
    c.ComboBoxMask->setToolTip(QStringLiteral("Current Mask = ") + c.ComboBoxMask->currentText());
}

void MainWindowSettings::gather(const QMainWindow* window, const MainWindowControls& c, AppSettings& s)
{
    s.scaleJPGIndex = c.ComboboxScaleJPG->currentIndex();
    // The size of the window as the user last had it in the normal state.
    const QRect normal = window->isMaximized() || window->isMinimized() ? window->normalGeometry() : window->geometry();
    if (normal.isValid()) {
        s.appTop = normal.top();
        s.appLeft = normal.left();
        s.appHeight = normal.height();
        s.appWidth = normal.width();
    }
    if (c.PanelPath->isVisible())
        s.pathWidth = c.PanelPath->width();
    s.appState = int(window->isMaximized()   ? StoredWindowState::Maximized
                     : window->isMinimized() ? StoredWindowState::Minimized
                                             : StoredWindowState::Normal);
    s.hex = c.ButtonHex->isChecked();
    s.movieRes = c.TrackBarMediaRes->value();
    s.continuousPlay = c.MenuContinuousplay->isChecked();
    s.shuffle = c.MenuShuffle->isChecked();
    s.loopMovie = c.ButtonLoopMovie->isChecked();
    s.masks.clear();
    for (int i = 0; i < c.ComboBoxMask->count(); ++i)
        s.masks.append(c.ComboBoxMask->itemText(i));
    s.maskIndex = c.ComboBoxMask->currentIndex();

    const QList<int> widths = c.FileViewFol1->columnWidths();
    s.colNameWidth = widths.value(0, s.colNameWidth);
    s.colSizeWidth = widths.value(1, s.colSizeWidth);
    s.colTypeWidth = widths.value(2, s.colTypeWidth);
    s.colDateWidth = widths.value(3, s.colDateWidth);
    s.colAttrWidth = widths.value(4, s.colAttrWidth);
    s.autosizeColumns = c.FileViewFol1->AutoSizeColumns();
    s.fileViewIndex = fileViewIndex(c.FileViewFol1);
    s.fileSortIndex = FileSortOrder::FileSortIndex;
    s.decendSort = FileSortOrder::DecendSort;
    s.singleDrive = c.PathViewFol1->SingleDrive();
    s.showDrives = c.TabControlDriveFol1->ShowDrives();
}
