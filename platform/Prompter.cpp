#include "platform/Prompter.h"

#include "platform/FileName.h"

namespace {

// Answers without showing anything: in place before the program installs its message
// boxes, so that nothing can block on an invisible dialog.
class SilentPrompter final : public Prompter {
public:
    PromptButton ask(PromptKind, PromptButtons buttons, const QString&, const QString&) override
    {
        return escapeAnswer(buttons);
    }
    std::optional<QString> askText(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

SilentPrompter silentPrompter;
Prompter* currentPrompter = &silentPrompter;

} // namespace

Prompter::~Prompter() = default;

Prompter& Prompter::instance()
{
    return *currentPrompter;
}

void Prompter::setInstance(Prompter* prompter)
{
    currentPrompter = prompter ? prompter : &silentPrompter;
}

PromptButton Prompter::escapeAnswer(PromptButtons buttons)
{
    for (PromptButton b : {PromptButton::Cancel, PromptButton::No, PromptButton::Abort, PromptButton::Ok}) {
        if (buttons.testFlag(b))
            return b;
    }
    return PromptButton::None;
}

QString Prompter::displayText(const QString& text)
{
    QString shown = FileName::display(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
