#pragma once
// The mask box of the file-manager band: every change (a chosen item or a keystroke) filters
// the file list at once and updates the hint; leaving the box adds its text to the items,
// sorted and without duplicates, so a typed mask is kept by the next save.

#include <QObject>

class QComboBox;
class TFileViewFol;

class MainWindowMask : public QObject {
    Q_OBJECT
public:
    // box is the band's ComboBoxMask, list the file list it filters.
    MainWindowMask(QObject* parent, QComboBox* box, TFileViewFol* list);

    void ComboBoxMaskChange(const QString& text);
    void ComboBoxMaskExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_box;
    TFileViewFol* m_list;
};
