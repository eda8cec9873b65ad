#include "media/ui/TPanelAudio.h"

#include "media/playlist/PlaylistColumns.h"
#include "media/ui/TFolTrackBar.h"
#include "media/ui/TRunningText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace media;

TPanelAudio::TPanelAudio(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelAudioControls"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);

    LabelArtistTitle = new TRunningText(this);
    LabelArtistTitle->setObjectName(QStringLiteral("LabelArtistTitle"));
    QFont bold = LabelArtistTitle->font();
    bold.setBold(true);
    LabelArtistTitle->setFont(bold);
    LabelAudioData = new TRunningText(this);
    LabelAudioData->setObjectName(QStringLiteral("LabelAudioData"));
    FolTrackBarAudio = new TFolTrackBar(this);
    FolTrackBarAudio->setObjectName(QStringLiteral("FolTrackBarAudio"));
    FolTrackBarAudio->setEnabled(false);
    layout->addWidget(LabelArtistTitle);
    layout->addWidget(LabelAudioData);
    layout->addWidget(FolTrackBarAudio);

    auto* bar = new QWidget(this);
    auto* buttons = new QHBoxLayout(bar);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    using SP = QStyle::StandardPixmap;
    ButtonPlaylistPlayPause = addButton(bar, "ButtonPlaylistPlayPause", QStringLiteral("Play/Pause Audio"), SP::SP_MediaPlay);
    ButtonPlaylistStop = addButton(bar, "ButtonPlaylistStop", QStringLiteral("Stop Audio"), SP::SP_MediaStop);
    ButtonPlayListPrev = addButton(bar, "ButtonPlayListPrev", QStringLiteral("Prev Audio"), SP::SP_MediaSkipBackward);
    ButtonPLaylistNext = addButton(bar, "ButtonPLaylistNext", QStringLiteral("Next Audio"), SP::SP_MediaSkipForward);
    ButtonPlaylistClear = addButton(bar, "ButtonPlaylistClear", QStringLiteral("Clear Playlist"), SP::SP_DialogResetButton);
    lButtonPlayListSave = addButton(bar, "lButtonPlayListSave", QStringLiteral("Save Playlist"), SP::SP_DialogSaveButton);
    ButtonContinuous = addButton(bar, "ButtonPlaylistContinuous", QStringLiteral("Continuous Play"), SP::SP_BrowserReload);
    ButtonShuffle = addButton(bar, "ButtonPlaylistShuffle", QStringLiteral("Shuffle"), SP::SP_ArrowRight);
    buttons->addStretch();
    for (QToolButton* button : {ButtonPlaylistPlayPause, ButtonPlaylistStop, ButtonPlayListPrev, ButtonPLaylistNext, ButtonPlaylistClear, lButtonPlayListSave})
        button->setEnabled(false);
    layout->addWidget(bar);
    // The volume and the entry count under the buttons, where the bar has room for its text.
    auto* volumeRow = new QWidget(this);
    auto* volume = new QHBoxLayout(volumeRow);
    volume->setContentsMargins(0, 0, 0, 0);
    FolTrackBarPlayListVolume = new TFolTrackBar(volumeRow);
    FolTrackBarPlayListVolume->setObjectName(QStringLiteral("FolTrackBarPlayListVolume"));
    FolTrackBarPlayListVolume->setRange(0, 1000);
    FolTrackBarPlayListVolume->setValue(1000);
    FolTrackBarPlayListVolume->setLabelText(QStringLiteral("100%"));
    FolTrackBarPlayListVolume->setToolTip(QStringLiteral("Volume"));
    FolTrackBarPlayListVolume->setEnabled(false);
    volume->addWidget(FolTrackBarPlayListVolume, 1);
    LabelAudioFileCount = new QLabel(volumeRow);
    LabelAudioFileCount->setObjectName(QStringLiteral("LabelAudioFileCount"));
    LabelAudioFileCount->setToolTip(QStringLiteral("Playlist Count"));
    volume->addWidget(LabelAudioFileCount);
    layout->addWidget(volumeRow);

    ListViewAudio = new QTreeWidget(this);
    ListViewAudio->setObjectName(QStringLiteral("ListViewAudio"));
    ListViewAudio->setRootIsDecorated(false);
    ListViewAudio->setUniformRowHeights(true);
    ListViewAudio->setColumnCount(kPlaylistColumnCount);
    ListViewAudio->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList captions;
    for (int i = 0; i < kPlaylistColumnCount; ++i)
        captions << columnCaption(PlaylistColumn(i));
    ListViewAudio->setHeaderLabels(captions);
    ListViewAudio->header()->setSectionsClickable(true);
    ListViewAudio->header()->setMinimumSectionSize(1);
    for (int i = 0; i < kPlaylistColumnCount; ++i) {
        const int width = columnWidth(PlaylistColumn(i));
        if (width > 0)
            ListViewAudio->setColumnWidth(i, width);
    }
    layout->addWidget(ListViewAudio, 1);
}

QToolButton* TPanelAudio::addButton(QWidget* bar, const char* name, const QString& hint, int icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setAutoRaise(true);
    bar->layout()->addWidget(button);
    return button;
}

void TPanelAudio::showEntries(const QList<AudioInfo>& entries, int current)
{
    ListViewAudio->setUpdatesEnabled(false);
    ListViewAudio->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(entries.size());
    for (const AudioInfo& entry : entries) {
        auto* row = new QTreeWidgetItem;
        for (int i = 0; i < kPlaylistColumnCount; ++i)
            row->setText(i, columnText(entry, PlaylistColumn(i)));
        // The hint: the seconds and the path under the title.
        const QString sec = entry.seconds.isEmpty() ? QString() : entry.seconds + QStringLiteral(" Seconds");
        row->setToolTip(0, entry.title + QLatin1Char('\n') + (sec.isEmpty() ? QString() : sec + QLatin1Char('\n')) + entry.path);
        rows << row;
    }
    ListViewAudio->addTopLevelItems(rows);
    for (int i : {int(PlaylistColumn::Title), int(PlaylistColumn::Artist), int(PlaylistColumn::Album)})
        ListViewAudio->resizeColumnToContents(i);
    ListViewAudio->setUpdatesEnabled(true);
    LabelAudioFileCount->setText(QStringLiteral("   ") + QString::number(entries.size()));
    selectRow(current);
}

void TPanelAudio::selectRow(int row)
{
    QTreeWidgetItem* item = ListViewAudio->topLevelItem(row);
    ListViewAudio->clearSelection();
    if (!item)
        return;
    ListViewAudio->setCurrentItem(item);
    item->setSelected(true);
    ListViewAudio->scrollToItem(item);
}

void TPanelAudio::showPlaying(bool playing)
{
    ButtonPlaylistPlayPause->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}
