#pragma once
// The file search dialog ("FolVane III (file search)"): finds files below a folder or on all
// fixed drives by partial name or wildcard pattern, optionally only those holding a text;
// lists the hits as they arrive while the window stays live; finds duplicates among them;
// deletes, copies, moves or saves the selected hits; "Go to file" closes it with one hit
// chosen. The search and the duplicate pass are jobs on worker threads (FileSearchJob,
// DuplicateJob); "Stop" cancels them at once.

#include "search/SearchHit.h"

#include <QDialog>

#include <memory>
#include <vector>

class DuplicateJob;
class FileSearchJob;
class JobRunner;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class QTreeView;
class SearchHitModel;

class TFormSearchDlg final : public QDialog {
    Q_OBJECT
public:
    // settingsPath: the store of the recent texts; startFolder: the tree's folder.
    TFormSearchDlg(const QString& settingsPath, const QString& startFolder, QWidget* parent = nullptr);
    ~TFormSearchDlg() override;

    // The stored list indexes that follow the boxes' selections (FileStrIndex, FindStrIndex).
    void setHistoryIndexes(int* fileStrIndex, int* findStrIndex);

    // The full path of the hit selected last (what "Go to file" goes to).
    QString selectedPath() const { return m_selectedPath; }
    QString startFolder() const { return m_startFolder; }
    bool isSearching() const;
    bool isComparing() const;

    SearchHitModel& hits() const { return *m_hitModel; }
    SearchHitModel& originals() const { return *m_originalModel; }
    SearchHitModel& duplicates() const { return *m_duplicateModel; }

    void ButtonSearchStopClick();
    void ButtonDupClick();
    void ButtonClearClick();
    void ButtonBrowseClick();
    void ListView1Change();
    void sortColumn(int column);
    // The popup's items, on ListView1's selection (delete: on the given list's selection).
    void deleteSelected(QTreeView* list);
    void copySelected(bool move);
    void saveSelectedList();

Q_SIGNALS:
    void searchFinished();
    void duplicatesFinished();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void buildControls();
    QTreeView* makeList(const char* name, SearchHitModel* model, const QColor& background);
    void keepRecentTexts();
    void pollSearch();
    void finishSearch();
    void finishDuplicates();
    void clearDuplicates();
    void refreshLabels();
    void setActivity(const QString& text, const QColor& colour);
    void popupHitList(const QPoint& at);
    std::vector<int> selectedRows(QTreeView* list) const;
    SearchHitModel* modelOf(QTreeView* list) const;

    QString m_settingsPath;
    QString m_startFolder;
    QString m_selectedPath;
    int* m_fileStrIndex = nullptr;
    int* m_findStrIndex = nullptr;
    int m_sortColumn = -1;
    bool m_ascending = true;

    QComboBox* ComboBoxEditFileSearchStr;
    QComboBox* ComboBoxEditTextSearchStr;
    QLabel* Label2;
    QLabel* LabelSearchPath;
    QPushButton* ButtonBrowse;
    QCheckBox* CheckBoxsearchallfixeddrives;
    QCheckBox* CheckBoxRecurse;
    QPushButton* ButtonSearchStop;
    QPushButton* ButtonDup;
    QPushButton* ButtonClear;
    QPushButton* Button1;
    QPushButton* ButtonGoToFile;
    QLabel* LabelHits;
    QLabel* LabelShowProgress;
    QWidget* Panel2;
    QTreeView* ListView1;
    QTreeView* ListView2;
    QTreeView* ListView3;
    QMenu* PopupMenuSearchList;
    SearchHitModel* m_hitModel;
    SearchHitModel* m_originalModel;
    SearchHitModel* m_duplicateModel;
    QTimer* m_poll;

    std::unique_ptr<FileSearchJob> m_search;
    std::unique_ptr<JobRunner> m_searchRunner;
    std::unique_ptr<DuplicateJob> m_dupes;
    std::unique_ptr<JobRunner> m_dupesRunner;
    std::vector<SearchHit> m_dupeInput; // the hit list as the duplicate pass saw it
};
