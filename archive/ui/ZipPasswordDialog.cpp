#include "archive/ui/ZipPasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

ZipPasswordDialog::ZipPasswordDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ZipPasswordDialog"));
    setWindowTitle(QStringLiteral("Enter Password"));
    setModal(true);
    auto* form = new QFormLayout(this);
    const auto field = [&](const char* name, const QString& caption) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setEchoMode(QLineEdit::Password);
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
        connect(edit, &QLineEdit::textChanged, this, &ZipPasswordDialog::updateOk);
        return edit;
    };
    EditPassword = field("EditPassword", QStringLiteral("&Password:"));
    EditVerify = field("EditVerify", QStringLiteral("&Verify:"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    form->addRow(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateOk();
}

QString ZipPasswordDialog::password() const
{
    return EditPassword->text();
}

void ZipPasswordDialog::updateOk()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(EditPassword->text() == EditVerify->text());
}

std::optional<QString> ZipPasswordDialog::ask(QWidget* parent)
{
    QPointer<ZipPasswordDialog> dialog = new ZipPasswordDialog(parent);
    const bool ok = dialog->exec() == QDialog::Accepted;
    std::optional<QString> answer;
    if (ok && dialog)
        answer = dialog->password();
    delete dialog;
    return answer;
}
