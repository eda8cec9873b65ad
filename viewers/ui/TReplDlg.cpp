#include "viewers/ui/TReplDlg.h"

#include "viewers/ui/RecentTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QComboBox* textBox(QWidget* parent, const char* name)
{
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumContentsLength(30);
    return box;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, std::initializer_list<QWidget*> items)
{
    auto* box = named(new QGroupBox(title, parent), name);
    auto* layout = new QVBoxLayout(box);
    for (QWidget* item : items)
        layout->addWidget(item);
    return box;
}

} // namespace

TReplDlg::TReplDlg(const QString& settingsFile, int& findIndex, int& replaceIndex, QWidget* parent)
    : QDialog(parent)
    , m_settingsFile(settingsFile)
    , m_findIndex(findIndex)
    , m_replaceIndex(replaceIndex)
    , m_find(textBox(this, "ComboBoxFind"))
    , m_replace(textBox(this, "ComboBoxReplace"))
    , m_matchCase(named(new QCheckBox(QStringLiteral("Match case"), this), "CheckBoxMatchCase"))
    , m_wholeWord(named(new QCheckBox(QStringLiteral("Whole word"), this), "CheckBoxWholeWord"))
    , m_fromCursor(named(new QCheckBox(QStringLiteral("Start from cursor"), this), "CheckBoxFromCursor"))
    , m_backward(named(new QRadioButton(QStringLiteral("Backward"), this), "RadioButtonBackward"))
    , m_global(named(new QRadioButton(QStringLiteral("Global"), this), "RadioButtonGlobal"))
{
    setObjectName(QStringLiteral("ReplDlg"));
    setWindowTitle(QStringLiteral("Replace Text"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    m_fromCursor->setChecked(true);
    auto* forward = named(new QRadioButton(QStringLiteral("Forward"), this), "RadioButton1");
    forward->setChecked(true);
    auto* selected = named(new QRadioButton(QStringLiteral("Selected Text"), this), "RadioButtonSelText");
    m_global->setChecked(true);

    auto* grid = new QGridLayout;
    grid->addWidget(named(new QLabel(QStringLiteral("Text to find:"), this), "Label1"), 0, 0);
    grid->addWidget(m_find, 0, 1);
    grid->addWidget(named(new QLabel(QStringLiteral("Replace with:"), this), "Label2"), 1, 0);
    grid->addWidget(m_replace, 1, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(group(this, "GroupBox1", QStringLiteral("Options"), {m_matchCase, m_wholeWord, m_fromCursor}));
    groups->addWidget(group(this, "GroupBox2", QStringLiteral("Direction"), {forward, m_backward}));
    groups->addWidget(group(this, "GroupBox3", QStringLiteral("Scope"), {m_global, selected}));
    auto* ok = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(QStringLiteral("Cancel"), this), "BitBtn2");
    auto* all = named(new QPushButton(QStringLiteral("Replace &All"), this), "BitBtn3");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(all, &QPushButton::clicked, this, [this] { done(kReplaceAll); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ok, cancel, all})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(groups);
    layout->addLayout(buttons);

    RecentTexts::fill(*m_find, RecentTexts::load(settingsFile, RecentTexts::kFind), findIndex);
    RecentTexts::fill(*m_replace, RecentTexts::load(settingsFile, RecentTexts::kReplace), replaceIndex);
    connect(m_find, &QComboBox::currentIndexChanged, this, [this](int index) { m_findIndex = index; });
    connect(m_replace, &QComboBox::currentIndexChanged, this, [this](int index) { m_replaceIndex = index; });
    m_find->setFocus();
}

QString TReplDlg::findText() const
{
    return m_find->currentText();
}

QString TReplDlg::replaceText() const
{
    return m_replace->currentText();
}

SearchOptions TReplDlg::options(int result) const
{
    SearchOptions options = result == kReplaceAll ? SearchOption::ReplaceAll : SearchOption::Replace;
    if (m_backward->isChecked())
        options |= SearchOption::Backward;
    if (m_matchCase->isChecked())
        options |= SearchOption::MatchCase;
    if (m_wholeWord->isChecked())
        options |= SearchOption::WholeWord;
    if (!m_fromCursor->isChecked())
        options |= m_global->isChecked() ? SearchOption::Global : SearchOption::SelectedText;
    return options;
}

void TReplDlg::done(int result)
{
    m_findIndex = RecentTexts::save(m_settingsFile, RecentTexts::kFind, *m_find);
    m_replaceIndex = RecentTexts::save(m_settingsFile, RecentTexts::kReplace, *m_replace);
    QDialog::done(result);
}
