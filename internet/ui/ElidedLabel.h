#pragma once
// A one-line status label whose text never widens its window: a text longer than the room
// it has is shown shortened with "..." (in the middle by default, so that a path keeps its
// file name) and in full as its tool tip. text() stays the whole text.

#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(const QString& text = QString(), Qt::TextElideMode mode = Qt::ElideMiddle, QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // The text as painted in the label's current width.
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    Qt::TextElideMode m_mode;
};
