#include "app/OptionPages.h"

#include "app/OptionsRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename Control>
Control* named(Control* control, const char* name, const QString& hint = QString())
{
    control->setObjectName(QLatin1String(name));
    if (!hint.isEmpty())
        control->setToolTip(hint);
    return control;
}

QPushButton* button(const char* name, const char* caption, const QString& hint = QString())
{
    return named(new QPushButton(QString::fromUtf8(caption)), name, hint);
}

QCheckBox* check(const char* name, const char* caption, const QString& hint = QString())
{
    return named(new QCheckBox(QString::fromUtf8(caption)), name, hint);
}

// A group box of radio buttons, one per caption, in one exclusive group.
QGroupBox* radios(const char* name, const QString& title, std::initializer_list<const char*> captions, QRadioButton** out,
                  const QString& hint = QString())
{
    auto* box = named(new QGroupBox(title), name, hint);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    int i = 0;
    for (const char* caption : captions) {
        out[i] = new QRadioButton(QString::fromUtf8(caption));
        group->addButton(out[i], i);
        layout->addWidget(out[i]);
        ++i;
    }
    return box;
}

QLineEdit* digits(const char* name, int count)
{
    auto* edit = named(new QLineEdit, name);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(count)), edit));
    edit->setMaximumWidth(60);
    return edit;
}

QWidget* fileManagerPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* network = new QHBoxLayout;
    network->addWidget(c.ButtonMapDrive = button("ButtonMapDrive", "Map Network Drive"));
    network->addWidget(c.ButtonDisconnectNetworkdrive = button("ButtonDisconnectNetworkdrive", "Disconnect Network Drive"));
    network->addStretch();
    layout->addLayout(network);
    QRadioButton* tabs[2] = {};
    layout->addWidget(radios("DriveTabRadio", QStringLiteral("Drive Tab Location"), {"Top", "Bottom"}, tabs,
                             QStringLiteral("Location of FolVane drive select tabs top of list or bottom")));
    c.DriveTabTop = tabs[0];
    c.DriveTabBottom = tabs[1];
    layout->addWidget(c.CheckBoxShowHiddenSystemfiles = check("CheckBoxShowHiddenSystemfiles", "Show Hidden System Files and Folders"));
    layout->addWidget(c.CheckBoxShowDriveTabStatus = check("CheckBoxShowDriveTabStatus", "Show drive status on tabs"));
    layout->addWidget(c.CheckBoxShowZipEncryptStatus = check("CheckBoxShowZipEncryptStatus", "Show Zip Encrypt status view button"));
    layout->addWidget(c.CheckBoxOpenByDblClickFV = check("CheckBoxOpenByDblClickFV", "Open files using Folvane native file viewers"));
    layout->addWidget(c.CheckBoxAutoSizeColumns = check("CheckBoxAutoSizeColumns", "AutoSize Columns"));
    layout->addWidget(c.ButtonRefresh = button("ButtonRefresh", "Refresh (drives, folders, files)"), 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("Spin button file view delay")));
    c.spinnernextdelay = named(new QSlider(Qt::Horizontal), "spinnernextdelay");
    c.spinnernextdelay->setRange(OptionsRules::kSpinDelayMin, OptionsRules::kSpinDelayMax);
    c.spinnernextdelay->setSingleStep(OptionsRules::kSpinDelayStep);
    c.spinnernextdelay->setPageStep(OptionsRules::kSpinDelayStep);
    c.spinnernextdelay->setTickInterval(OptionsRules::kSpinDelayStep * 4);
    c.spinnernextdelay->setTickPosition(QSlider::TicksBelow);
    auto* delay = new QHBoxLayout;
    delay->addWidget(c.spinnernextdelay, 1);
    delay->addWidget(c.LabelSpinDelay = named(new QLabel, "LabelSpinDelay"));
    layout->addLayout(delay);
    layout->addStretch();
    return page;
}

QWidget* audioVideoPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    c.SpeedButton1 = named(new QToolButton, "SpeedButton1", QStringLiteral("Runs Windows SNDVOL32.EXE"));
    c.SpeedButton1->setIcon(QIcon::fromTheme(QStringLiteral("audio-volume-high")));
    c.SpeedButton1->setText(QStringLiteral("Volume"));
    auto* top = new QHBoxLayout;
    top->addWidget(c.SpeedButton1);
    top->addWidget(c.Button2 = button("Button2", "Media"));
    top->addWidget(c.ButtonGetVideoModes = button("ButtonGetVideoModes", "Get Video Modes"));
    top->addStretch();
    grid->addLayout(top, 0, 0, 1, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(c.CheckBoxShowNextFile = check("CheckBoxShowNextFile", "Show Next File (Media)",
                                                    QStringLiteral("Will go and play next media file automatically")));
    left->addWidget(c.CheckBoxLoopMedia = check("CheckBoxLoopMedia", "Loop Media",
                                                 QStringLiteral("Loop or repeat media file when playing until user stops")));
    left->addWidget(c.CheckBoxFv2Sounds = check("CheckBoxFv2Sounds", "Sounds", QStringLiteral("Sound effects on start end and file drops")));
    auto* sounds = new QHBoxLayout;
    sounds->addWidget(c.Button4 = button("Button4", "Start"));
    sounds->addWidget(c.Button5 = button("Button5", "Plop"));
    sounds->addWidget(c.Button6 = button("Button6", "End"));
    left->addLayout(sounds);
    left->addWidget(radios("RadioGroupMovieRes", QStringLiteral("Movie playback"), {"160x120", "240x180", "320x240", "640x480", "Fit Screen"},
                           c.MovieRes, QStringLiteral("Video size selections")));
    left->addStretch();
    grid->addLayout(left, 1, 0);
    grid->addWidget(c.MemoVideoModes = named(new QPlainTextEdit, "MemoVideoModes"), 1, 1);
    c.MemoVideoModes->setReadOnly(true);
    return page;
}

QWidget* textEditorPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(c.CheckBoxAutoIndent = check("CheckBoxAutoIndent", "Auto Indent"));
    layout->addWidget(c.CheckBoxMakeBackup = check("CheckBoxMakeBackup", "Make Backup"));
    auto* wrap = new QHBoxLayout;
    wrap->addWidget(c.CheckBoxWordwrap = check("CheckBoxWordwrap", "Wordwrap"));
    wrap->addWidget(c.MaskEditWrapColumn = digits("MaskEditWrapColumn", 4));
    wrap->addWidget(c.LabelWrapColumn = named(new QLabel(QStringLiteral("Wrap column ^")), "LabelWrapColumn"));
    wrap->addStretch();
    layout->addLayout(wrap);
    layout->addWidget(radios("RadioTabType", QStringLiteral("Tabs"), {"Real", "Fixed", "Smart"}, c.TabType,
                             QStringLiteral("Real= inserts tab, Fixed=inserts space, Smart=inserts space and follows previous line")));
    auto* tabs = new QHBoxLayout;
    tabs->addWidget(new QLabel(QStringLiteral("Tab size")));
    tabs->addWidget(c.MaskEditTabsize = digits("MaskEditTabsize", 3));
    tabs->addStretch();
    layout->addLayout(tabs);
    layout->addWidget(c.ButtonEditorFont = button("ButtonEditorFont", "Font"), 0, Qt::AlignLeft);
    layout->addStretch();
    return page;
}

QWidget* viewerPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(c.CheckBoxFilterHex = check("CheckBoxFilterHex", "Filter in Hex Mode (ASCII 32-127)"));
    layout->addWidget(c.ButtonViewerFont = button("ButtonViewerFont", "Font"), 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("Viewer open in hex mode this won't take effect")));
    layout->addStretch();
    return page;
}

QWidget* systemPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    auto* left = new QVBoxLayout;
    left->addWidget(c.CheckBoxUseSmallZipToExe = check("CheckBoxUseSmallZipToExe", "Use Small Zip To Exe",
                                                        QStringLiteral("Select size option available when making Zip to Exe files")));
    left->addWidget(c.CheckBoxAnimateStartup = check("CheckBoxAnimateStartup", "Animate startup"));
    left->addWidget(c.CheckBoxAutoStartFolVane = check("CheckBoxAutoStartFolVane", "Auto start FolVane III",
                                                        QStringLiteral("When Windows starts up.  NOTE:  Must run as Administrator")));
    for (auto [slot, name, caption] : {std::tuple{&c.ButtonNetwork, "ButtonNetwork", "Network"},
                                       std::tuple{&c.ButtonDesktop, "ButtonDesktop", "Desktop"},
                                       std::tuple{&c.ButtonTime, "ButtonTime", "Date/Time"},
                                       std::tuple{&c.Button7, "Button7", "Control Panel"}})
        left->addWidget(*slot = button(name, caption), 0, Qt::AlignLeft);
    left->addStretch();
    grid->addLayout(left, 0, 0, 2, 1);
    grid->addWidget(c.ButtonProgramList = button("ButtonProgramList", "Get Program List", QStringLiteral("Note: Must run as administrator")), 0, 1);
    grid->addWidget(c.Memo1 = named(new QPlainTextEdit, "Memo1"), 1, 1);
    c.Memo1->setReadOnly(true);
    return page;
}

QWidget* internetPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* home = new QHBoxLayout;
    home->addWidget(new QLabel(QStringLiteral("Home page:")));
    home->addWidget(c.EditMyBrowserWebStr = named(new QLineEdit, "EditMyBrowserWebStr"), 1);
    layout->addLayout(home);
    auto* download = new QHBoxLayout;
    download->addWidget(c.Edit1 = named(new QLineEdit, "Edit1"), 1);
    download->addWidget(c.Button3 = button("Button3", "Download >"));
    download->addWidget(new QLabel(QStringLiteral("...to current folder")));
    layout->addLayout(download);
    auto* grid = new QGridLayout;
    grid->addWidget(c.BitBtn2 = button("BitBtn2", "Orginize Favorites"), 0, 0);
    grid->addWidget(c.Button1 = button("Button1", "Internet"), 0, 1);
    grid->addWidget(c.ButtonDeleteTempFiles = button("ButtonDeleteTempFiles", "Delete TEMP files",
                                                     QStringLiteral("Cookies, History, Temporary Internet files, Temp, Recent")), 1, 0);
    grid->addWidget(c.ButtonCleardocs = button("ButtonCleardocs", "Clear recent docs"), 1, 1);
    grid->addWidget(c.ButtonEmptyRecycle = button("ButtonEmptyRecycle", "Empty Recycle"), 2, 0);
    grid->addWidget(c.ButtonClearCache = button("ButtonClearCache", "Clear IE Cache/History"), 2, 1);
    grid->addWidget(c.ButtonClearAll = button("ButtonClearAll", "   All"), 3, 0);
    grid->addWidget(c.CheckBoxCleanupOnExit = check("CheckBoxCleanupOnExit", "Clean up all when FolVane closes"), 3, 1);
    layout->addLayout(grid);
    layout->addStretch();
    return page;
}

QWidget* listsEditorPage(OptionControls& c)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    c.ComboBox1 = named(new QComboBox, "ComboBox1");
    for (const OptionsRules::StoredList& list : OptionsRules::storedLists())
        c.ComboBox1->addItem(QString::fromUtf8(list.caption));
    layout->addWidget(c.ComboBox1);
    layout->addWidget(c.Memo2 = named(new QPlainTextEdit, "Memo2"), 1);
    layout->addWidget(c.ButtonSaveListEditor = button("ButtonSaveListEditor", "Save"), 0, Qt::AlignLeft);
    return page;
}

} // namespace

void OptionPages::build(QWidget* parent, OptionControls& c)
{
    auto* layout = new QVBoxLayout(parent);
    c.OvcNotebook1 = named(new QTabWidget, "OvcNotebook1");
    c.OvcNotebook1->setTabPosition(QTabWidget::South);
    c.OvcNotebook1->addTab(fileManagerPage(c), QStringLiteral("File Manager"));
    c.OvcNotebook1->addTab(audioVideoPage(c), QStringLiteral("Audio/Video"));
    c.OvcNotebook1->addTab(textEditorPage(c), QStringLiteral("Text Editor"));
    c.OvcNotebook1->addTab(viewerPage(c), QStringLiteral("View as text/hex"));
    c.OvcNotebook1->addTab(systemPage(c), QStringLiteral("System"));
    c.OvcNotebook1->addTab(internetPage(c), QStringLiteral("Internet"));
    c.OvcNotebook1->addTab(listsEditorPage(c), QStringLiteral("Lists Editor"));
    layout->addWidget(c.OvcNotebook1, 1);
    c.ButtonOK = button("ButtonOK", "OK");
    c.ButtonOK->setDefault(true);
    layout->addWidget(c.ButtonOK, 0, Qt::AlignRight);
}
