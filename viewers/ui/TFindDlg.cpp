#include "viewers/ui/TFindDlg.h"

#include "viewers/ui/RecentTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFindDlg::TFindDlg(const QString& settingsFile, int& findIndex, QWidget* parent)
    : QDialog(parent)
    , m_settingsFile(settingsFile)
    , m_findIndex(findIndex)
    , m_find(new QComboBox(this))
    , m_matchCase(new QCheckBox(QStringLiteral("&Match Case"), this))
{
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("Find"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);
    auto* label = new QLabel(QStringLiteral("Find what?"), this);
    label->setObjectName(QStringLiteral("LabelSearchStr"));
    m_find->setObjectName(QStringLiteral("ComboBoxFind"));
    m_find->setEditable(true);
    m_find->setInsertPolicy(QComboBox::NoInsert);
    m_find->setMinimumContentsLength(30);
    label->setBuddy(m_find);
    m_matchCase->setObjectName(QStringLiteral("CheckBox1"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("buttonok"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("buttoncancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_find);
    layout->addWidget(m_matchCase);
    layout->addWidget(buttons);
    RecentTexts::fill(*m_find, RecentTexts::load(settingsFile, RecentTexts::kFind), findIndex);
    connect(m_find, &QComboBox::currentIndexChanged, this, [this](int index) { m_findIndex = index; });
    m_find->setFocus();
}

QString TFindDlg::text() const
{
    return m_find->currentText();
}

SearchOptions TFindDlg::options() const
{
    SearchOptions options = SearchOption::Find;
    if (m_matchCase->isChecked())
        options |= SearchOption::MatchCase;
    return options;
}

void TFindDlg::done(int result)
{
    m_findIndex = RecentTexts::save(m_settingsFile, RecentTexts::kFind, *m_find);
    QDialog::done(result);
}
