#pragma once
// Plays a Windows metafile (WMF), placeable or not, onto a picture. The headers give the
// picture's size (the placeable header's bounds at its units per inch, shown at 96 dots per
// inch; a plain file's window extent); the records are played through MetafileCanvas with
// the window mapped onto the whole picture. Every record is checked against the file's end
// and its own length; unknown records are passed over.

#include "viewers/image/MetafileBytes.h"

#include <QRectF>
#include <QSize>

class MetafileCanvas;
class QPainter;

class WmfPlayer {
public:
    explicit WmfPlayer(const QByteArray& bytes);

    // Reads the headers; false, with the reason, when they are not a WMF's.
    bool open(QString* error);
    QSize pictureSize() const { return m_size; }
    void play(QPainter& painter) const;

private:
    template <typename Visit>
    void forEachRecord(Visit visit) const;
    void findWindow();
    void record(quint16 function, const MetafileBytes& p, MetafileCanvas& canvas) const;
    void text(const MetafileBytes& p, MetafileCanvas& canvas, bool extended) const;
    void blit(quint16 function, const MetafileBytes& p, MetafileCanvas& canvas) const;

    QByteArray m_data;
    MetafileBytes m_bytes;
    qint64 m_first = 0;
    QRectF m_window;
    QSize m_size;
};
