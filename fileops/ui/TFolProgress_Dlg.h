#pragma once
// The progress dialog of the batch commands (form FolProgress_Dlg, caption "Progress"): what
// is being done, the count or current item, an overall meter, an item meter and Cancel. Once
// shown it starts the batch loop on a runner and polls the loop's labels with a timer; Cancel
// is seen by the loop between items, and the dialog closes when the loop has ended.

#include "fileops/BatchLoop.h"

#include <QDialog>

class JobRunner;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class TFolProgress_Dlg final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 50;

    explicit TFolProgress_Dlg(QWidget* parent = nullptr);
    ~TFolProgress_Dlg() override;

    QLabel* LabelAction = nullptr;
    QLabel* LabelListNames = nullptr;
    QLabel* LabelProgressMeter = nullptr;
    QProgressBar* ProgressMeter = nullptr;
    QLabel* LabelItemMeter = nullptr;
    QProgressBar* ItemMeter = nullptr;
    QPushButton* ButtonCancel = nullptr;

    // The batch that runs once the dialog is first shown.
    void setBatch(BatchLoop* loop);
    // Takes the loop's labels into the window (the poll timer calls it).
    void refresh();

    // Escape and the close button act as Cancel while a batch runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ButtonCancelClick();
    void batchFinished();

    BatchLoop* m_loop = nullptr;
    JobRunner* m_runner = nullptr;
    QTimer* m_poll = nullptr;
    int m_serial = 0;
    bool m_running = false;
};

// Shows the progress dialog modally for a batch: labels as the callers set them, the item
// meter shown or hidden, the loop run once it shows; returns how the batch ended.
BatchEnd RunBatchDialog(QWidget* owner, const QString& action, OperationCode code, const QStringList& work,
                        const ConfirmResults& options, bool showItemMeter);
