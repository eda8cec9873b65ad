#pragma once
// The progress dialog of the batch commands (form FolProgress_Dlg, caption "Progress"): what
// is being done, the count or current item, an overall meter, an item meter and Cancel. The
// batch runs inside the dialog's activation (setOnActivate); Cancel is seen between items.

#include "fileops/BatchLoop.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class TFolProgress_Dlg final : public QDialog, public BatchProgress {
    Q_OBJECT
public:
    explicit TFolProgress_Dlg(QWidget* parent = nullptr);

    QLabel* LabelAction = nullptr;
    QLabel* LabelListNames = nullptr;
    QLabel* LabelProgressMeter = nullptr;
    QProgressBar* ProgressMeter = nullptr;
    QLabel* LabelItemMeter = nullptr;
    QProgressBar* ItemMeter = nullptr;
    QPushButton* ButtonCancel = nullptr;

    // Runs once, when the dialog is first shown (the batch loop).
    void setOnActivate(std::function<void()> fn) { m_onActivate = std::move(fn); }
    // The private "done" message: ends the modal loop with Cancel, after the current event.
    void postDone();
    // A failed batch closes the dialog without a message.
    void postClose();

    // BatchProgress
    void setAction(const QString& text) override;
    void setListNames(const QString& text) override;
    void setProgressText(const QString& text) override;
    void setItemText(const QString& text) override;
    void setOverall(int percent) override;
    void processEvents() override;
    bool cancelled() const override { return m_cancelled; }

    // Escape and the close button act as Cancel while a batch runs.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ButtonCancelClick();

    std::function<void()> m_onActivate;
    bool m_activated = false;
    bool m_running = false;
    bool m_cancelled = false;
};

// Shows the progress dialog modally for a batch: labels as the callers set them, the item
// meter shown or hidden, the loop run inside the activation; returns how the batch ended.
BatchEnd RunBatchDialog(QWidget* owner, const QString& action, OperationCode code, const QStringList& work,
                        const ConfirmResults& options, bool showItemMeter);
