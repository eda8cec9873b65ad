#pragma once
// The movie player pane (mode vmMoviePlayer): it shows its video in a display widget it
// shares with the image viewer (ScrollBox1), its band ToolBarMovie and the position bar
// MediaTrackBar. Playing is not here yet.

#include "platform/ui/ViewPane.h"

#include <QObject>
#include <QPointer>

class MoviePlayerPane : public QObject, public ViewPane {
    Q_OBJECT
public:
    MoviePlayerPane(QWidget* display, QObject* parent = nullptr);

    TViewMode mode() const override { return vmMoviePlayer; }
    QWidget* widget() const override;
    int toolBand() const override { return bandMovie; }
    PaneChromes chrome() const override { return PaneChrome::TrackBar; }
    QString settingsGroup() const override { return QString(); }
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int direction) override;

private:
    QPointer<QWidget> m_display;
};
