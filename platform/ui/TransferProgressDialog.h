#pragma once
// The progress window of a job that a caller waits for (the file operation): modal, with the
// current item, a bar and Cancel. It polls the runner's counters with a timer and closes
// itself once the job has finished; Cancel asks the job to stop between items.

#include "platform/JobRunner.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TransferProgressDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 50;

    TransferProgressDialog(JobRunner& runner, const QString& title, QWidget* parent = nullptr);

    // Takes the job's counters into the window; closes it when the job has finished.
    void refresh();

    // Escape and the window's close button mean Cancel; the window stays until the job stops.
    void reject() override;

private:
    JobRunner& m_runner;
    QLabel* m_item;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QTimer* m_poll;
};
