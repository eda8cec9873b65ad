#pragma once
// The find dialog TFindDlg ("Find"): the text to find in the file viewer or the text
// editor, and "&Match Case". Its box offers the remembered find texts; choosing one
// stores its index (FindStrIndex); closing the dialog puts the text in the remembered list.

#include "viewers/text/SearchOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;

class TFindDlg : public QDialog {
    Q_OBJECT
public:
    // settingsFile: the settings tree holding the list; findIndex: the stored FindStrIndex.
    TFindDlg(const QString& settingsFile, int& findIndex, QWidget* parent = nullptr);

    QComboBox* ComboBoxFind() const { return m_find; }
    QCheckBox* CheckBox1() const { return m_matchCase; }
    QString text() const;
    SearchOptions options() const;

    void done(int result) override;

private:
    QString m_settingsFile;
    int& m_findIndex;
    QComboBox* m_find;
    QCheckBox* m_matchCase;
};
