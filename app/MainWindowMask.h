#pragma once
// The mask box of the file-manager band: every change (a chosen item or a keystroke) filters
// the file list at once and updates the hint; leaving the box adds its text to the items,
// sorted and without duplicates, so a typed mask is kept by the next save.

#include <QObject>

struct MainWindowControls;
class TFormMainFolvane3;

class MainWindowMask : public QObject {
    Q_OBJECT
public:
    MainWindowMask(TFormMainFolvane3* window, MainWindowControls& c);

    void ComboBoxMaskChange(const QString& text);
    void ComboBoxMaskExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowControls& m_c;
};
