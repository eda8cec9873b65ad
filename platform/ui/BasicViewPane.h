#pragma once
// A pane widget of a fixed mode, band and chrome whose own content comes later: entering,
// leaving and stepping change nothing yet. The viewer panes start as this and grow their
// behaviour in their own classes; the window already shows, names and switches them.

#include "platform/ui/ViewPane.h"

#include <QWidget>

class BasicViewPane : public QWidget, public ViewPane {
    Q_OBJECT
public:
    struct Shape {
        TViewMode mode;
        const char* objectName;
        int toolBand;
        PaneChromes chrome;
        const char* settingsGroup; // nullptr: the pane owns no stored values
    };

    explicit BasicViewPane(const Shape& shape, QWidget* parent = nullptr);

    TViewMode mode() const override { return m_shape.mode; }
    QWidget* widget() const override { return const_cast<BasicViewPane*>(this); }
    int toolBand() const override { return m_shape.toolBand; }
    PaneChromes chrome() const override { return m_shape.chrome; }
    QString settingsGroup() const override;
    void enter(const QString& path) override;
    void leave() override;
    void stepFile(int direction) override;

private:
    Shape m_shape;
};
