#pragma once
// A scrolling label: a panel that paints its caption itself and, while Active, moves it one
// step every Speed milliseconds, Steps steps a pass, in the direction Direct. With AutoActive
// on, scrolling is on exactly when the caption is wider than the control. The playlist shows
// the current song's artist and title and its format in two of them.

#include <QTimer>
#include <QWidget>

class TRunningText : public QWidget {
    Q_OBJECT
public:
    enum class TDirect { diLeftToRight, diRightToLeft, diTopToBottom, diBottomToTop };
    enum class TStyleLabel { slNormal, slLowered, slRaised };

    explicit TRunningText(QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& text);
    bool Active() const { return m_active; }
    void setActive(bool on);
    void setAutoActive(bool on) { m_autoActive = on; update(); }
    void setDirect(TDirect direct) { m_direct = direct; }
    void setStyleLabel(TStyleLabel style) { m_style = style; update(); }
    void setNumRepeat(int count) { m_numRepeat = count; }
    void setContinuous(bool on) { m_continuous = on; }
    void setSteps(int steps) { m_steps = qMax(1, steps); }
    // Milliseconds per step, kept within 1 to 1000.
    void setSpeed(int ms);
    int step() const { return m_step; }

    // The text's left edge at the current step (top edge for the vertical directions).
    int offset() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void tick();
    QSize textSize() const;

    QString m_caption;
    QTimer m_timer;
    TDirect m_direct = TDirect::diRightToLeft;
    TStyleLabel m_style = TStyleLabel::slNormal;
    bool m_active = false;
    bool m_autoActive = true;
    bool m_continuous = true;
    int m_numRepeat = 0;
    int m_steps = 100;
    int m_step = 0;
    int m_pass = 0;
};
