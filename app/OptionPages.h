#pragma once
// The controls of the options dialog's seven pages, with their captions and hints, laid
// out on a notebook whose tabs are at the bottom. TOptionDlg loads, connects and applies
// them.

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QToolButton;
class QWidget;

struct OptionControls {
    QTabWidget* OvcNotebook1 = nullptr;
    // File Manager
    QPushButton* ButtonMapDrive = nullptr;
    QPushButton* ButtonDisconnectNetworkdrive = nullptr;
    QRadioButton* DriveTabTop = nullptr;
    QRadioButton* DriveTabBottom = nullptr;
    QCheckBox* CheckBoxShowHiddenSystemfiles = nullptr;
    QCheckBox* CheckBoxShowDriveTabStatus = nullptr;
    QCheckBox* CheckBoxShowZipEncryptStatus = nullptr;
    QCheckBox* CheckBoxOpenByDblClickFV = nullptr;
    QCheckBox* CheckBoxAutoSizeColumns = nullptr;
    QPushButton* ButtonRefresh = nullptr;
    QSlider* spinnernextdelay = nullptr;
    QLabel* LabelSpinDelay = nullptr;
    // Audio/Video
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* ButtonGetVideoModes = nullptr;
    QPlainTextEdit* MemoVideoModes = nullptr;
    QCheckBox* CheckBoxShowNextFile = nullptr;
    QCheckBox* CheckBoxLoopMedia = nullptr;
    QCheckBox* CheckBoxFv2Sounds = nullptr;
    QRadioButton* MovieRes[5] = {};
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    // Text Editor
    QCheckBox* CheckBoxAutoIndent = nullptr;
    QCheckBox* CheckBoxMakeBackup = nullptr;
    QCheckBox* CheckBoxWordwrap = nullptr;
    QLabel* LabelWrapColumn = nullptr;
    QLineEdit* MaskEditWrapColumn = nullptr;
    QRadioButton* TabType[3] = {};
    QLineEdit* MaskEditTabsize = nullptr;
    QPushButton* ButtonEditorFont = nullptr;
    // View as text/hex
    QCheckBox* CheckBoxFilterHex = nullptr;
    QPushButton* ButtonViewerFont = nullptr;
    // System
    QCheckBox* CheckBoxUseSmallZipToExe = nullptr;
    QPushButton* ButtonProgramList = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckBoxAnimateStartup = nullptr;
    QCheckBox* CheckBoxAutoStartFolVane = nullptr;
    QPushButton* ButtonNetwork = nullptr;
    QPushButton* ButtonDesktop = nullptr;
    QPushButton* ButtonTime = nullptr;
    QPushButton* Button7 = nullptr;
    // Internet
    QLineEdit* EditMyBrowserWebStr = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ButtonDeleteTempFiles = nullptr;
    QPushButton* ButtonCleardocs = nullptr;
    QPushButton* ButtonEmptyRecycle = nullptr;
    QPushButton* ButtonClearCache = nullptr;
    QCheckBox* CheckBoxCleanupOnExit = nullptr;
    QPushButton* ButtonClearAll = nullptr;
    // Lists Editor
    QComboBox* ComboBox1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QPushButton* ButtonSaveListEditor = nullptr;

    QPushButton* ButtonOK = nullptr;
};

class OptionPages {
public:
    // Creates the notebook and every control on parent's layout.
    static void build(QWidget* parent, OptionControls& c);
};
