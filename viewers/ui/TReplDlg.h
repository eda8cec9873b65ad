#pragma once
// The replace dialog TReplDlg ("Replace Text"): the text to find and its replacement, the
// options (match case, whole word, start from cursor), the direction and the scope. OK
// asks for one replacement at a time, "Replace &All" (result Yes) for all of them. Both
// boxes offer and keep their remembered texts (MRUFind, MRURepl).

#include "viewers/text/SearchOptions.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QRadioButton;

class TReplDlg : public QDialog {
    Q_OBJECT
public:
    // The result of "Replace &All".
    static constexpr int kReplaceAll = 2;

    TReplDlg(const QString& settingsFile, int& findIndex, int& replaceIndex, QWidget* parent = nullptr);

    QComboBox* ComboBoxFind() const { return m_find; }
    QComboBox* ComboBoxReplace() const { return m_replace; }
    QString findText() const;
    QString replaceText() const;
    // The options for the dialog's result (Accepted: replace; kReplaceAll: replace all).
    SearchOptions options(int result) const;

    void done(int result) override;

private:
    QString m_settingsFile;
    int& m_findIndex;
    int& m_replaceIndex;
    QComboBox* m_find;
    QComboBox* m_replace;
    QCheckBox* m_matchCase;
    QCheckBox* m_wholeWord;
    QCheckBox* m_fromCursor;
    QRadioButton* m_backward;
    QRadioButton* m_global;
};
