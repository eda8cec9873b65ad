#include "search/ui/TFormSearchDlg.h"

#include "platform/FileName.h"
#include "platform/JobRunner.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"
#include "search/DuplicateJob.h"
#include "search/DuplicateRows.h"
#include "search/FailureList.h"
#include "search/FileSearchJob.h"
#include "search/RecentTexts.h"
#include "search/SearchHitActions.h"
#include "search/ui/SearchHitModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 100;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QComboBox* makeBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(11);
    return box;
}

} // namespace

TFormSearchDlg::TFormSearchDlg(const QString& settingsPath, const QString& startFolder, QWidget* parent)
    : QDialog(parent)
    , m_settingsPath(settingsPath)
    , m_startFolder(PathText::withoutTrailingSlash(startFolder))
    , m_hitModel(new SearchHitModel(this))
    , m_originalModel(new SearchHitModel(this))
    , m_duplicateModel(new SearchHitModel(this))
    , m_poll(new QTimer(this))
{
    setObjectName(QStringLiteral("FormSearchDlg"));
    setWindowTitle(QStringLiteral("FolVane III (file search)"));
    buildControls();
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &TFormSearchDlg::pollSearch);
    FormCreate();
}

TFormSearchDlg::~TFormSearchDlg()
{
    // The runners cancel and wait for their jobs before the jobs go.
    m_searchRunner.reset();
    m_dupesRunner.reset();
}

void TFormSearchDlg::buildControls()
{
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("File name (partial and/or wildcards)"), this), 0, 0, 1, 3);
    ComboBoxEditFileSearchStr = makeBox(this, "ComboBoxEditFileSearchStr");
    grid->addWidget(ComboBoxEditFileSearchStr, 1, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("With text in file"), this), 2, 0, 1, 3);
    ComboBoxEditTextSearchStr = makeBox(this, "ComboBoxEditTextSearchStr");
    grid->addWidget(ComboBoxEditTextSearchStr, 3, 0, 1, 3);
    Label2 = new QLabel(QStringLiteral("In:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    LabelSearchPath = new QLabel(this);
    LabelSearchPath->setObjectName(QStringLiteral("LabelSearchPath"));
    LabelSearchPath->setStyleSheet(QStringLiteral("background: white; color: black; border: 1px solid gray; padding: 2px"));
    LabelSearchPath->setMinimumWidth(200);
    ButtonBrowse = makeButton(this, "ButtonBrowse", QStringLiteral("..."));
    ButtonBrowse->setFixedWidth(32);
    auto* path = new QHBoxLayout;
    path->addWidget(Label2);
    path->addWidget(LabelSearchPath, 1);
    path->addWidget(ButtonBrowse);
    grid->addLayout(path, 4, 0, 1, 3);
    CheckBoxsearchallfixeddrives = new QCheckBox(QStringLiteral("Search all fixed drives"), this);
    CheckBoxsearchallfixeddrives->setObjectName(QStringLiteral("CheckBoxsearchallfixeddrives"));
    CheckBoxRecurse = new QCheckBox(QStringLiteral("Recurse"), this);
    CheckBoxRecurse->setObjectName(QStringLiteral("CheckBoxRecurse"));
    CheckBoxRecurse->setChecked(true);
    grid->addWidget(CheckBoxsearchallfixeddrives, 5, 0, 1, 2);
    grid->addWidget(CheckBoxRecurse, 5, 2);

    auto* buttons = new QVBoxLayout;
    ButtonSearchStop = makeButton(this, "ButtonSearchStop", QStringLiteral("Search"));
    ButtonSearchStop->setDefault(true);
    ButtonDup = makeButton(this, "ButtonDup", QStringLiteral("Dupe search"));
    ButtonClear = makeButton(this, "ButtonClear", QStringLiteral("Clear"));
    Button1 = makeButton(this, "Button1", QStringLiteral("Cancel"));
    ButtonGoToFile = makeButton(this, "ButtonGoToFile", QStringLiteral("Go to file"));
    for (QPushButton* button : {ButtonSearchStop, ButtonDup, ButtonClear, Button1, ButtonGoToFile})
        buttons->addWidget(button);
    buttons->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(grid, 1);
    top->addLayout(buttons);

    LabelHits = new QLabel(this);
    LabelHits->setObjectName(QStringLiteral("LabelHits"));
    LabelShowProgress = new QLabel(this);
    LabelShowProgress->setObjectName(QStringLiteral("LabelShowProgress"));
    LabelShowProgress->setTextFormat(Qt::PlainText);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panelLayout = new QHBoxLayout(Panel2);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    ListView2 = makeList("ListView2", m_originalModel, QColor(0xc0, 0xc0, 0xc0));
    ListView3 = makeList("ListView3", m_duplicateModel, QColor(0xff, 0xff, 0xe1));
    panelLayout->addWidget(ListView2);
    panelLayout->addWidget(ListView3);
    ListView1 = makeList("ListView1", m_hitModel, QColor());

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(Panel2);
    splitter->addWidget(ListView1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LabelHits);
    layout->addWidget(LabelShowProgress);
    layout->addWidget(splitter, 1);
    resize(760, 560);

    PopupMenuSearchList = new QMenu(this);
    PopupMenuSearchList->setObjectName(QStringLiteral("PopupMenuSearchList"));
    auto addItem = [this](const char* name, const QString& caption, auto handler) {
        QAction* action = PopupMenuSearchList->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    addItem("SaveSelectedFileAsList", QStringLiteral("Save Selected File as list (text file)"), [this] { saveSelectedList(); });
    PopupMenuSearchList->addSeparator();
    addItem("DeleteSelectedFile", QStringLiteral("Delete Selected File"), [this] { deleteSelected(ListView1); });
    addItem("CopySelectedFilesTo", QStringLiteral("Copy Selected Files To..."), [this] { copySelected(false); });
    addItem("MoveSelectedFilesTo", QStringLiteral("Move Selected Files to.."), [this] { copySelected(true); });

    connect(ButtonSearchStop, &QPushButton::clicked, this, &TFormSearchDlg::ButtonSearchStopClick);
    connect(ButtonDup, &QPushButton::clicked, this, &TFormSearchDlg::ButtonDupClick);
    connect(ButtonClear, &QPushButton::clicked, this, &TFormSearchDlg::ButtonClearClick);
    connect(ButtonBrowse, &QPushButton::clicked, this, &TFormSearchDlg::ButtonBrowseClick);
    connect(Button1, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonGoToFile, &QPushButton::clicked, this, &QDialog::accept);
    connect(CheckBoxsearchallfixeddrives, &QCheckBox::toggled, this, [this](bool all) {
        for (QWidget* widget : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(LabelSearchPath),
                                static_cast<QWidget*>(ButtonBrowse)})
            widget->setVisible(!all);
    });
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFormSearchDlg::ListView1Change);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this, &TFormSearchDlg::sortColumn);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QWidget::customContextMenuRequested, this, &TFormSearchDlg::popupHitList);
}

QTreeView* TFormSearchDlg::makeList(const char* name, SearchHitModel* model, const QColor& background)
{
    auto* list = new QTreeView(this);
    list->setObjectName(QLatin1String(name));
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setAllColumnsShowFocus(true);
    list->header()->setSectionsClickable(true);
    list->header()->setStretchLastSection(false);
    list->setColumnWidth(SearchHitModel::NameColumn, 200);
    list->setColumnWidth(SearchHitModel::FolderColumn, 220);
    list->setColumnWidth(SearchHitModel::SizeColumn, 90);
    list->setColumnWidth(SearchHitModel::TypeColumn, 110);
    list->setColumnWidth(SearchHitModel::ModifiedColumn, 140);
    if (background.isValid()) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, Qt::black);
        list->setPalette(palette);
    }
    list->installEventFilter(this);
    return list;
}

void TFormSearchDlg::FormCreate()
{
    LabelSearchPath->setText(FileName::display(m_startFolder));
    ComboBoxEditFileSearchStr->addItems(RecentTexts::load(m_settingsPath, RecentTexts::kNames));
    ComboBoxEditTextSearchStr->addItems(RecentTexts::load(m_settingsPath, RecentTexts::kContents));
    ComboBoxEditFileSearchStr->setCurrentIndex(ComboBoxEditFileSearchStr->count() > 0 ? 0 : -1);
    ComboBoxEditTextSearchStr->setCurrentIndex(ComboBoxEditTextSearchStr->count() > 0 ? 0 : -1);
    ListView1Change();
}

void TFormSearchDlg::setHistoryIndexes(int* fileStrIndex, int* findStrIndex)
{
    m_fileStrIndex = fileStrIndex;
    m_findStrIndex = findStrIndex;
    auto follow = [this](QComboBox* box, int* TFormSearchDlg::*index) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, index](int item) {
            if (this->*index && item >= 0)
                *(this->*index) = item;
        });
    };
    follow(ComboBoxEditFileSearchStr, &TFormSearchDlg::m_fileStrIndex);
    follow(ComboBoxEditTextSearchStr, &TFormSearchDlg::m_findStrIndex);
}

bool TFormSearchDlg::isSearching() const
{
    return m_searchRunner && !m_searchRunner->isFinished();
}

bool TFormSearchDlg::isComparing() const
{
    return m_dupesRunner && !m_dupesRunner->isFinished();
}

void TFormSearchDlg::keepRecentTexts()
{
    const std::pair<QComboBox*, QString> boxes[] = {{ComboBoxEditFileSearchStr, RecentTexts::kNames},
                                                    {ComboBoxEditTextSearchStr, RecentTexts::kContents}};
    for (const auto& [box, stem] : boxes) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        const QString text = box->currentText();
        const QStringList kept = RecentTexts::save(m_settingsPath, stem, items, text);
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(kept);
        box->setCurrentIndex(int(kept.indexOf(text)));
        box->setEditText(text);
    }
}

void TFormSearchDlg::ButtonSearchStopClick()
{
    keepRecentTexts();
    const QString pattern = ComboBoxEditFileSearchStr->currentText();
    if (pattern.isEmpty())
        return;
    if (isSearching()) {
        m_searchRunner->cancel();
        unsetCursor();
        LabelShowProgress->clear();
        ButtonSearchStop->setText(QStringLiteral("Search"));
        return;
    }
    SearchOptions options;
    options.namePattern = pattern;
    options.contentText = ComboBoxEditTextSearchStr->currentText();
    options.recurse = CheckBoxRecurse->isChecked();
    options.startFolders = CheckBoxsearchallfixeddrives->isChecked() ? FileSearchJob::fixedDriveRoots()
                                                                     : QStringList{m_startFolder};
    ButtonSearchStop->setText(QStringLiteral("Stop"));
    // A duplicate pass over the old hits has nothing left to show.
    if (isComparing()) {
        m_dupesRunner->cancel();
        ButtonDup->setText(QStringLiteral("Dupe search"));
    }
    m_hitModel->clear();
    clearDuplicates();
    LabelHits->clear();
    ButtonClear->setEnabled(false);
    setCursor(Qt::BusyCursor);
    m_searchRunner.reset();
    m_search = std::make_unique<FileSearchJob>(options);
    m_searchRunner = std::make_unique<JobRunner>(*m_search);
    connect(m_searchRunner.get(), &JobRunner::finished, this, &TFormSearchDlg::finishSearch);
    m_searchRunner->start();
    m_poll->start();
}

void TFormSearchDlg::pollSearch()
{
    if (m_search) {
        std::vector<SearchHit> found = m_search->takeHits();
        if (!found.empty()) {
            const QString name = FileName::decode(found.back().name);
            m_hitModel->append(std::move(found));
            LabelHits->setText(QStringLiteral("Hits:%1").arg(QLocale().toString(m_hitModel->rowCount())));
            const bool byContent = !m_search->options().contentText.isEmpty();
            setActivity((byContent ? QStringLiteral("Found string in > ") : QStringLiteral("Found file match > ")) + name,
                        Qt::red);
            return;
        }
    }
    if (isSearching())
        setActivity(m_searchRunner->progress().currentItem, palette().color(QPalette::WindowText));
    else if (isComparing())
        setActivity(m_dupesRunner->progress().currentItem, Qt::black);
}

void TFormSearchDlg::setActivity(const QString& text, const QColor& colour)
{
    QPalette palette = LabelShowProgress->palette();
    palette.setColor(QPalette::WindowText, colour);
    LabelShowProgress->setPalette(palette);
    LabelShowProgress->setText(FileName::display(text));
}

void TFormSearchDlg::finishSearch()
{
    pollSearch();
    if (!isComparing())
        m_poll->stop();
    unsetCursor();
    ButtonSearchStop->setText(QStringLiteral("Search"));
    refreshLabels();
    ListView1Change();
    QStringList lines;
    for (const QString& path : m_search->uncheckedFiles())
        lines.append(FileSearchJob::uncheckedMessage(path, m_search->options().contentText));
    if (!lines.isEmpty())
        Prompter::instance().error(FailureList::text(lines));
    Q_EMIT searchFinished();
}

void TFormSearchDlg::ButtonDupClick()
{
    if (isComparing()) {
        m_dupesRunner->cancel();
        clearDuplicates();
        ButtonDup->setText(QStringLiteral("Dupe search"));
        unsetCursor();
        return;
    }
    if (m_hitModel->rowCount() == 0)
        return;
    setCursor(Qt::BusyCursor);
    ButtonDup->setText(QStringLiteral("Stop"));
    clearDuplicates();
    Panel2->show();
    ListView2->show();
    ListView3->show();
    m_dupeInput = m_hitModel->hits();
    std::vector<QByteArray> paths;
    for (const SearchHit& hit : m_dupeInput)
        paths.push_back(hit.path());
    m_dupesRunner.reset();
    m_dupes = std::make_unique<DuplicateJob>(std::move(paths));
    m_dupesRunner = std::make_unique<JobRunner>(*m_dupes);
    connect(m_dupesRunner.get(), &JobRunner::finished, this, &TFormSearchDlg::finishDuplicates);
    m_dupesRunner->start();
    m_poll->start();
}

void TFormSearchDlg::finishDuplicates()
{
    if (!isSearching())
        m_poll->stop();
    unsetCursor();
    ButtonDup->setText(QStringLiteral("Dupe search"));
    if (!m_dupes->isCancelled()) {
        const DuplicateRows rows = DuplicateRows::build(m_dupes->groups(), int(m_dupeInput.size()));
        auto pick = [this](const std::vector<int>& indexes) {
            std::vector<SearchHit> hits;
            for (int index : indexes)
                hits.push_back(m_dupeInput[std::size_t(index)]);
            return hits;
        };
        m_originalModel->append(pick(rows.originals));
        m_duplicateModel->append(pick(rows.duplicates));
    }
    refreshLabels();
    ListView1Change();
    QStringList lines;
    for (const QString& path : m_dupes->unreadableFiles())
        lines.append(QStringLiteral("Could not read ") + path);
    if (!lines.isEmpty())
        Prompter::instance().error(FailureList::text(lines));
    Q_EMIT duplicatesFinished();
}

void TFormSearchDlg::clearDuplicates()
{
    m_originalModel->clear();
    m_duplicateModel->clear();
    ListView2->hide();
    ListView3->hide();
    Panel2->hide();
}

void TFormSearchDlg::ButtonClearClick()
{
    m_hitModel->clear();
    clearDuplicates();
    refreshLabels();
    ListView1Change();
}

void TFormSearchDlg::ButtonBrowseClick()
{
    const QString folder = Pickers::instance().pickFolder(QStringLiteral("Browse"), m_startFolder);
    if (folder.isEmpty())
        return;
    m_startFolder = PathText::withoutTrailingSlash(folder);
    LabelSearchPath->setText(FileName::display(m_startFolder));
}

void TFormSearchDlg::refreshLabels()
{
    LabelShowProgress->clear();
    const QLocale locale;
    LabelHits->setText(QStringLiteral("Hits:") + locale.toString(m_hitModel->rowCount()) + QStringLiteral(" Total bytes:")
                       + locale.toString(qint64(m_hitModel->totalBytes())) + QStringLiteral(" bytes"));
    ButtonClear->setEnabled(m_hitModel->rowCount() > 0 && !isSearching());
    ListView2->setVisible(m_originalModel->rowCount() > 0);
    ListView3->setVisible(m_duplicateModel->rowCount() > 0);
    Panel2->setVisible(m_duplicateModel->rowCount() > 0);
    ButtonGoToFile->setEnabled(selectedRows(ListView1).size() == 1);
}

void TFormSearchDlg::ListView1Change()
{
    refreshLabels();
    ButtonDup->setVisible(m_hitModel->rowCount() > 0 || isComparing());
    const QModelIndex current = ListView1->selectionModel()->currentIndex();
    if (!current.isValid() || !ListView1->selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return;
    m_selectedPath = FileName::decode(m_hitModel->hit(current.row()).path());
    LabelShowProgress->setText(FileName::display(m_selectedPath));
}

void TFormSearchDlg::sortColumn(int column)
{
    m_ascending = !m_ascending;
    m_sortColumn = column;
    const Qt::SortOrder order = m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
    setCursor(Qt::WaitCursor);
    m_hitModel->sortBy(column, order);
    unsetCursor();
    ListView1->header()->setSortIndicatorShown(true);
    ListView1->header()->setSortIndicator(column, order);
}

std::vector<int> TFormSearchDlg::selectedRows(QTreeView* list) const
{
    std::vector<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    return rows;
}

SearchHitModel* TFormSearchDlg::modelOf(QTreeView* list) const
{
    return static_cast<SearchHitModel*>(list->model());
}

void TFormSearchDlg::deleteSelected(QTreeView* list)
{
    SearchHitModel* model = modelOf(list);
    if (model->rowCount() == 0)
        return;
    setCursor(Qt::WaitCursor);
    const std::vector<SearchHit> hits = model->take(selectedRows(list));
    SearchHitActions::deleteHits(hits);
    // A file that went to the Trash leaves every list, not only the one it was deleted from.
    std::vector<QByteArray> gone;
    for (const SearchHit& hit : hits) {
        if (!LocalFiles::entryExists(FileName::decode(hit.path())))
            gone.push_back(hit.path());
    }
    for (SearchHitModel* other : {m_hitModel, m_originalModel, m_duplicateModel})
        other->removePaths(gone);
    unsetCursor();
    ListView1Change();
}

void TFormSearchDlg::copySelected(bool move)
{
    const std::vector<SearchHit> hits = m_hitModel->take(selectedRows(ListView1));
    SearchHitActions::transferHits(hits, move, m_startFolder);
    ListView1Change();
}

void TFormSearchDlg::saveSelectedList()
{
    std::vector<SearchHit> hits;
    for (int row : selectedRows(ListView1))
        hits.push_back(m_hitModel->hit(row));
    SearchHitActions::saveList(hits, m_startFolder);
}

void TFormSearchDlg::popupHitList(const QPoint& at)
{
    const bool any = !selectedRows(ListView1).empty();
    for (QAction* action : PopupMenuSearchList->actions()) {
        if (!action->isSeparator())
            action->setEnabled(any);
    }
    PopupMenuSearchList->popup(ListView1->viewport()->mapToGlobal(at));
}

bool TFormSearchDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        for (QTreeView* list : {ListView1, ListView2, ListView3}) {
            if (watched == list) {
                deleteSelected(list);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFormSearchDlg::done(int result)
{
    if (m_searchRunner)
        m_searchRunner->cancel();
    if (m_dupesRunner)
        m_dupesRunner->cancel();
    keepRecentTexts();
    QDialog::done(result);
}
