#include "viewers/ui/TRunDlg.h"

#include "platform/FileName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TRunDlg::TRunDlg(QWidget* parent)
    : QDialog(parent)
    , Label1(new QLabel(QStringLiteral("Parameters"), this))
    , ComboBoxRunParameters(new QComboBox(this))
    , CheckBoxMinimizefolvane(new QCheckBox(QStringLiteral("Minimize FolVane on run"), this))
    , OKBtn(new QPushButton(QStringLiteral("OK"), this))
    , CancelBtn(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("RunDlg"));
    setWindowTitle(QStringLiteral("Run Program"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ComboBoxRunParameters->setObjectName(QStringLiteral("ComboBoxRunParameters"));
    ComboBoxRunParameters->setEditable(true);
    ComboBoxRunParameters->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxRunParameters->setMaxVisibleItems(10);
    ComboBoxRunParameters->setMinimumContentsLength(36);
    CheckBoxMinimizefolvane->setObjectName(QStringLiteral("CheckBoxMinimizefolvane"));
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    Label1->setBuddy(ComboBoxRunParameters);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ComboBoxRunParameters);
    layout->addWidget(CheckBoxMinimizefolvane);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TRunDlg::setFileName(const QString& name)
{
    setWindowTitle(QStringLiteral("Run ") + FileName::display(name));
}

void TRunDlg::setHistory(const QStringList& items, int index)
{
    ComboBoxRunParameters->clear();
    ComboBoxRunParameters->addItems(items);
    ComboBoxRunParameters->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    if (ComboBoxRunParameters->currentIndex() < 0)
        ComboBoxRunParameters->setEditText(QString());
}

QStringList TRunDlg::history() const
{
    QStringList items;
    for (int i = 0; i < ComboBoxRunParameters->count(); ++i)
        items << ComboBoxRunParameters->itemText(i);
    return items;
}

int TRunDlg::historyIndex() const
{
    return ComboBoxRunParameters->currentIndex();
}

QString TRunDlg::parameters() const
{
    return ComboBoxRunParameters->currentText();
}

bool TRunDlg::minimize() const
{
    return CheckBoxMinimizefolvane->isChecked();
}

void TRunDlg::setMinimize(bool on)
{
    CheckBoxMinimizefolvane->setChecked(on);
}
