#pragma once
// The folder synchroniser: two folder trees with their file lists, where the user picks a
// left and a right folder, a list of saved pairs, "File must exist" and "Include sub folders",
// and ButtonSync, which starts a run (SyncJob on a worker) or stops the one in progress. The
// window polls the run's status for its caption, status panels and meters, shows each pair
// in the trees while it is worked on, and ends with the summary box. The pair lists are
// loaded when it opens and saved whenever it closes.

#include "browse/BrowseNavigator.h"
#include "sync/SyncJob.h"
#include "sync/SyncPairLists.h"

#include <QDialog>

#include <memory>

class JobRunner;
class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QTimer;
class QToolBar;
class QToolButton;
class TFileViewFol;
class TPathViewFol;

class TSynchDlg final : public QDialog {
    Q_OBJECT
public:
    // startFolder: the folder both sides show first (the main window's current folder).
    // lists: where the pair lists are kept.
    TSynchDlg(const QString& startFolder, const SyncPairLists& lists, QWidget* parent = nullptr);
    ~TSynchDlg() override;

    static QString caption();

    bool isRunning() const { return m_running; }
    // The folders the two trees have selected ("" for "My Computer").
    QString leftFolder() const;
    QString rightFolder() const;
    // Points both sides at folders (as picking them in the trees does).
    void setFolders(const QString& left, const QString& right);

    void ButtonSyncClick();
    void AddSyncItemsClick();
    void ClearSyncItemsClick();
    void SaveSyncItemsClick();

Q_SIGNALS:
    // A run has ended and its summary was shown.
    void runFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void buildPanels();
    void buildToolBars();
    void buildStatus();
    void FormShow();
    std::vector<SyncPair> pairs() const;
    bool savePairs();
    void startRun(std::vector<SyncPair> pairs);
    void stopRun();
    void pollRun();
    void showPair(int index);
    void runEnded();
    void endRunState();
    void keepSelectionInView();
    void scrollWhenRead();

    QString m_startFolder;
    SyncPairLists m_lists;
    bool m_shown = false;
    BrowseNavigator m_leftNavigator;
    BrowseNavigator m_rightNavigator;
    TPathViewFol* PathViewFol1 = nullptr;
    TFileViewFol* FileViewFol1 = nullptr;
    TPathViewFol* PathViewFol2 = nullptr;
    TFileViewFol* FileViewFol2 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QCheckBox* CheckBoxMustExist = nullptr;
    QCheckBox* CheckBoxRecurse = nullptr;
    QToolButton* ButtonSync = nullptr;
    QProgressBar* ProgressbarSync = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QToolButton* SaveSyncItems = nullptr;
    QToolButton* AddSyncItems = nullptr;
    QToolButton* ClearSyncItems = nullptr;
    QListWidget* ListBox2 = nullptr;
    QLabel* m_statusPanels[2] = {};
    QProgressBar* CopyMeter = nullptr;

    std::vector<SyncPair> m_runPairs;
    std::unique_ptr<SyncJob> m_job;
    std::unique_ptr<JobRunner> m_runner;
    QTimer* m_poll = nullptr;
    QTimer* m_scroll = nullptr;
    int m_scrollTries = 0;
    int m_shownPair = -1;
    bool m_running = false;
};
