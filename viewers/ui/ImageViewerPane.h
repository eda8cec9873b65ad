#pragma once
// The image viewer pane (mode vmImageViewer): the scroll box ScrollBox1 holding the picture
// ImageViewer, and the band ToolBarImage. The movie player shows its video in the same
// scroll box (display()). Decoding and showing pictures is not here yet.

#include "platform/ui/ViewPane.h"

#include <QScrollArea>

class QLabel;

class ImageViewerPane : public QScrollArea, public ViewPane {
    Q_OBJECT
public:
    explicit ImageViewerPane(QWidget* parent = nullptr);

    QLabel* ImageViewer() const { return m_image; }

    TViewMode mode() const override { return vmImageViewer; }
    QWidget* widget() const override { return const_cast<ImageViewerPane*>(this); }
    int toolBand() const override { return bandImage; }
    PaneChromes chrome() const override { return {}; }
    QString settingsGroup() const override { return QString(); }
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int direction) override;

private:
    QLabel* m_image;
};
