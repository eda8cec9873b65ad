#pragma once
// The small Cleanup window: six boxes, one per clean-up step, that show each step while it
// runs (bold, "Emptying Recycle bin...") and tick it off when it is done. A step that
// failed stays unticked, says so, and keeps the window open with the reason in its hint.

#include "internet/CleanupSteps.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QPushButton;

class TClean_Up_Dlg : public QDialog {
    Q_OBJECT
public:
    explicit TClean_Up_Dlg(QWidget* parent = nullptr);

    void stepStarted(CleanupStep step);
    void stepFinished(CleanupStep step, const Status& outcome);
    QCheckBox* box(CleanupStep step) const { return m_boxes[size_t(step)]; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    std::array<QCheckBox*, kCleanupStepCount> m_boxes{};
    QPushButton* m_cancel;
};
