#pragma once
// The Run dialog: asks for the command-line parameters of a program file before it is
// started (caption "Run " + the file's name), with the remembered parameters in a
// drop-down and "Minimize FolVane on run".

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class TRunDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRunDlg(QWidget* parent = nullptr);

    // The caption "Run " followed by the file's name.
    void setFileName(const QString& name);
    // The remembered parameters; index selects one (ignored beyond the list).
    void setHistory(const QStringList& items, int index);
    QStringList history() const;
    int historyIndex() const;
    QString parameters() const;
    bool minimize() const;
    void setMinimize(bool on);

    QLabel* Label1;
    QComboBox* ComboBoxRunParameters;
    QCheckBox* CheckBoxMinimizefolvane;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};
