#pragma once
// The tool-band container CoolBar1: the top tool bar area of the main window holding the
// seven bands. Keeps the band layout (order, row breaks, widths) as the user leaves it,
// turns it into a record for the settings and applies a stored record.

#include "app/BandLayout.h"
#include "app/MainWindowControls.h"

#include <QList>
#include <QObject>

class QTimer;

class MainWindowBands : public QObject {
    Q_OBJECT
public:
    MainWindowBands(QMainWindow* window, MainWindowControls& controls);

    // The layout as it stands now, in display order.
    QList<BandRecord> layout();
    // Puts the bands in the given order and rows; the record must name every band once.
    void applyLayout(const QList<BandRecord>& bands);
    // Shows ToolBarGlobal and band (a BandIndex, or kNoBand for none), hides the others.
    void showBand(int band);

    QByteArray record() { return BandLayout::encode(layout()); }
    // False (and the layout unchanged) when the record cannot be applied.
    bool applyRecord(const QByteArray& record);

    // Reports a band move that has not settled yet (the window is closing).
    void flush();

Q_SIGNALS:
    // The user moved a band (CoolBar1Change); emitted once the moving has settled.
    void layoutChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void reportIfChanged();

    QMainWindow* m_window;
    MainWindowControls& m_controls;
    QList<BandRecord> m_order;
    QTimer* m_settle;
    bool m_applying = false;
};
