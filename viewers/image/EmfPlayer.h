#pragma once
// Plays an enhanced metafile (EMF) onto a picture. The header's frame (in hundredths of a
// millimetre) gives the picture's size at 96 dots per inch and, through the reference
// device's pixels per millimetre, the part of the device that fills the picture. Records
// are played through MetafileCanvas; every record and every offset inside one is checked
// against the record's own bytes; unknown records (EMF+ comments among them) are passed over.

#include "viewers/image/MetafileBytes.h"

#include <QRectF>
#include <QSize>

class MetafileCanvas;
class QPainter;

class EmfPlayer {
public:
    explicit EmfPlayer(const QByteArray& bytes);

    bool open(QString* error);
    QSize pictureSize() const { return m_size; }
    void play(QPainter& painter) const;

private:
    void record(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const;
    void shapes(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const;
    void text(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const;
    void blit(quint32 type, const MetafileBytes& r, MetafileCanvas& canvas) const;

    QByteArray m_data;
    MetafileBytes m_bytes;
    QRectF m_deviceFrame; // the frame in reference device pixels
    double m_pixelsPerMillimetre = 96 / 25.4;
    QSize m_size;
};
