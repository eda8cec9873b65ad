#pragma once
// The target confirmation dialog of the batch commands (caption "Confirm"): where the result
// of an action goes and the action's options. One form serves every action and shows only
// the controls its action needs (the batch action table, fileops/BatchActions). FormShow
// fills it from the results of the last showing, FormClose writes them back on every close.

#include "fileops/BatchActions.h"
#include "fileops/ConfirmActions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QToolButton;

class TConfrim_Dlg final : public QDialog {
    Q_OBJECT
public:
    // action: the heading (LabelAction) and the controls shown; results: the main window's
    // copy, read at show and written at close; settingsPath: the settings tree holding the
    // recent extensions.
    TConfrim_Dlg(OperationCode action, ConfirmResults& results, const QString& settingsPath, QWidget* parent = nullptr);

    QLabel* ImageFileIcon = nullptr;
    QLabel* LabelAction = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* LabelFileName = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* EditToPathFile = nullptr;
    QToolButton* ButtonBrowsePathFile = nullptr;
    QComboBox* ComboBoxFileExt = nullptr;
    QLineEdit* EditNumber = nullptr;
    QLabel* LabelSearch = nullptr;
    QLabel* LabelReplace = nullptr;
    QLineEdit* EditAppendPre = nullptr;
    QLineEdit* EditAppendPost = nullptr;
    QDateEdit* DatePicker = nullptr;
    QTimeEdit* TimePicker = nullptr;
    QCheckBox* CheckBoxReadOnly = nullptr;
    QCheckBox* CheckBoxHidden = nullptr;
    QCheckBox* CheckBoxArchive = nullptr;
    QCheckBox* CheckBoxSystem = nullptr;
    QLabel* LabelPassword = nullptr;
    QLineEdit* MaskEditPassword = nullptr;
    QCheckBox* CheckBoxCreateFolders = nullptr;
    QCheckBox* CheckBoxRestorePath = nullptr;
    QCheckBox* CheckBoxWarnOverwrite = nullptr;
    QFrame* PanelZip = nullptr;
    QGroupBox* RadioGroupCompression = nullptr;
    QGroupBox* RadioGroupDeflation = nullptr;
    QCheckBox* CheckBoxStripDrive = nullptr;
    QCheckBox* CheckBoxStripPath = nullptr;
    QCheckBox* CheckBoxRemoveDots = nullptr;
    QCheckBox* CheckBoxRecurse = nullptr;
    QCheckBox* CheckBoxFreshen = nullptr;
    QCheckBox* CheckBoxReplace = nullptr;
    QCheckBox* CheckBoxDosMode = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* MaskEditSpanningThreshold = nullptr;
    QPushButton* ButtonMoreZip = nullptr;
    QPushButton* ButtonYes = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QLabel* LabelActionFiles = nullptr; // hidden: one file's path or a count text
    QLabel* LabelSelFile = nullptr;     // hidden: the list's selected item

    int compression() const;
    int deflation() const;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void build();
    void buildZipPanel();
    void FormShow();
    void FormClose();
    void layoutForAction();
    void placeButtons(int top);
    void showFileInfo();
    void ButtonYesClick();
    void ButtonBrowsePathFileClick();
    void ButtonMoreZipClick();
    void RadioGroupCompressionClick();

    const BatchAction& m_action;
    ConfirmResults& m_results;
    QString m_settingsPath;
    QButtonGroup* m_compression = nullptr;
    QButtonGroup* m_deflation = nullptr;
    bool m_zipExpanded = false;
    bool m_shown = false;
    bool m_closed = false;
};
