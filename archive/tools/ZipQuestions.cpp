#include "archive/tools/ZipQuestions.h"

#include "platform/Prompter.h"

namespace {

// Touched on the UI thread only: the batches ask through RunOnUiThread.
struct PasswordMemory {
    bool samePassword = false;
    QString saved;
    ZipQuestions::PasswordDialog dialog;
};

PasswordMemory& memory()
{
    static PasswordMemory state;
    return state;
}

std::optional<QString> askPassword()
{
    if (memory().dialog)
        return memory().dialog();
    return Prompter::instance().askText(QStringLiteral("Enter Password"), QStringLiteral("&Password:"), QString());
}

} // namespace

namespace ZipQuestions {

void setPasswordDialog(PasswordDialog dialog)
{
    memory().dialog = std::move(dialog);
}

void needPassword(QString& password)
{
    PasswordMemory& state = memory();
    if (state.samePassword) {
        password = state.saved;
        return;
    }
    if (Prompter::instance().confirm(QStringLiteral("Do you want to use same password for each file??")))
        state.samePassword = true;
    if (const std::optional<QString> typed = askPassword())
        password = *typed;
    state.saved = password;
}

QString savedPassword()
{
    return memory().saved;
}

void forgetPasswords()
{
    memory().samePassword = false;
    memory().saved.clear();
}

void confirmOverwrite(const QString& name, bool& confirm, bool& warn)
{
    confirm = true;
    if (!warn)
        return;
    const PromptButton answer = Prompter::instance().ask(PromptKind::Confirmation,
                                                         PromptButton::Yes | PromptButton::No | PromptButton::YesToAll,
                                                         name + QStringLiteral(" exists, overwrite?"));
    if (answer == PromptButton::No)
        confirm = false;
    else if (answer == PromptButton::YesToAll)
        warn = false;
}

} // namespace ZipQuestions
