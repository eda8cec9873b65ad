#pragma once
// The progress window of the file operation: shown when an operation runs longer than about
// half a second (never for a silent one), modal, with the current item, a bar and Cancel.
// DialogTransferRunner is the runner the program installs (TransferRunner::setInstance).

#include "platform/TransferRunner.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TransferProgressDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TransferProgressDialog(TransferJob& job, QWidget* parent = nullptr);

    // Takes the job's counters into the window; closes it when the job has finished.
    void refresh();

    // Escape and the window's close button mean Cancel; the window stays until the job stops.
    void reject() override;

private:
    TransferJob& m_job;
    QLabel* m_item;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
};

class DialogTransferRunner final : public TransferRunner {
public:
    // Delay before the window appears.
    static constexpr int kShowDelayMs = 500;
    void run(TransferJob& job, bool showProgress) override;
};
