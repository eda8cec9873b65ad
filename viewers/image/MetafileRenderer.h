#pragma once
// Draws a WMF or EMF file into a picture of the metafile's own width and height, on white,
// with our own record players (WmfPlayer, EmfPlayer): no outside library parses these files,
// so every byte of them is read through bounds-checked views and the fuzz target reaches
// all of it.

#include "viewers/ViewerStatus.h"

#include <QByteArray>
#include <QImage>

class MetafileRenderer {
public:
    static ViewerStatus render(const QByteArray& bytes, QImage& picture);
};
