#pragma once
// The program's Prompter: modal QMessageBox and QInputDialog over the active window.

#include "platform/Prompter.h"

class MessageBoxPrompter final : public Prompter {
public:
    PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString& caption) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;
};
