#include "viewers/ui/ImageViewerPane.h"

#include <QLabel>

ImageViewerPane::ImageViewerPane(QWidget* parent)
    : QScrollArea(parent)
    , m_image(new QLabel(this))
{
    setObjectName(QStringLiteral("ScrollBox1"));
    setAlignment(Qt::AlignCenter);
    m_image->setObjectName(QStringLiteral("ImageViewer"));
    setWidget(m_image);
}

void ImageViewerPane::enter(const QString&)
{
}

void ImageViewerPane::leave()
{
}

void ImageViewerPane::stepFile(int)
{
}
