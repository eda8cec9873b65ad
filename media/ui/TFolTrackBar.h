#pragma once
// A track bar with a text: after the bar's own painting, LabelText is drawn centred,
// 4 pixels below the top edge, while Labels is on and the bar is enabled. The playlist's
// position and volume bars and the movie position bar are TFolTrackBars.

#include <QSlider>

class TFolTrackBar : public QSlider {
    Q_OBJECT
public:
    explicit TFolTrackBar(QWidget* parent = nullptr);

    bool Labels() const { return m_labels; }
    void setLabels(bool on);
    QString LabelText() const { return m_labelText; }
    void setLabelText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool m_labels = true;
    QString m_labelText;
};
