#pragma once
// The engine's password dialog (caption "Enter Password"): the password typed twice, "OK"
// only once both fields agree.

#include <QDialog>

#include <optional>

class QDialogButtonBox;
class QLineEdit;

class ZipPasswordDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ZipPasswordDialog(QWidget* parent = nullptr);

    QLineEdit* EditPassword = nullptr;
    QLineEdit* EditVerify = nullptr;
    QString password() const;

    // Shows the dialog modally: the password after OK, nullopt after Cancel.
    static std::optional<QString> ask(QWidget* parent);

private:
    void updateOk();

    QDialogButtonBox* m_buttons = nullptr;
};
