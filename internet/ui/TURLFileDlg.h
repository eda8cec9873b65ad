#pragma once
// The file ripper's dialog ("URL FILE RIP"): one example address, ten counters that each
// replace a stretch of it, the target folder, extension and minimum size; "<< Rip" walks
// every combination ("Halt" ends it), "Download One" fetches the address once, "List of
// Links DL" every line of a text file, "stop" aborts the download in progress. The
// downloads run on a worker thread (RipThread); closing the dialog during a run halts it.

#include "internet/RipCounter.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class RipThread;
struct RipTarget;

class TURLFileDlg : public QDialog {
    Q_OBJECT
public:
    // folder: the folder selected in the main window's folder tree.
    explicit TURLFileDlg(const QString& folder, QWidget* parent = nullptr);
    ~TURLFileDlg() override;

    struct CounterRow {
        QLineEdit* min = nullptr;
        QLineEdit* max = nullptr;
        QLineEdit* width = nullptr;
        QLineEdit* index = nullptr;
        QCheckBox* alpha = nullptr;
    };
    const std::array<CounterRow, RipCounter::kCount>& counterRows() const { return m_rows; }
    QLineEdit* Edit1 = nullptr;
    QLineEdit* EditEXT = nullptr;
    QLineEdit* MaskEditFileSize = nullptr;
    QLineEdit* EditToPath = nullptr;
    QPushButton* ButtonSelectToPath = nullptr;
    QPushButton* ButtonRip = nullptr;
    QPushButton* ButtonDownloadFile = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* ButtonIndex0 = nullptr;
    QPushButton* ButtonSetFileIndex = nullptr;
    QLabel* LabelOfIndex = nullptr;
    QLabel* LabelInfo = nullptr;
    QLabel* LabelSavedFileCount = nullptr;
    QLabel* LabelStatusCode = nullptr;
    QProgressBar* OvcMeter1 = nullptr;

    bool isRunning() const { return m_running; }

    void done(int result) override;

Q_SIGNALS:
    // A run (rip, one download or a list) has ended.
    void runFinished();

private:
    void buildControls();
    QLayout* buildCounterGrid();
    void connectControls();
    void connectRun();

    void ButtonRipClick();
    void ButtonDownloadFileClick();
    void Button2Click();
    void ButtonSetFileIndexClick();
    void LabelOfIndexClick();
    void ButtonSelectToPathClick();
    void ButtonIndex0Click();
    void Edit1Change();

    std::optional<RipTarget> target();
    std::optional<RipCounters> counters();
    void startRun(bool rip);
    void runEnded();
    void clearMaxFields();
    void setBusy(bool busy);

    std::array<CounterRow, RipCounter::kCount> m_rows;
    RipThread* m_thread = nullptr;
    QString m_treeFolder;
    bool m_running = false;
    bool m_ripping = false;
};
