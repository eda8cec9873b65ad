#include "app/MessageBoxPrompter.h"

#include "app/FolvaneApplication.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

#include <utility>

namespace {

const std::pair<PromptButton, QMessageBox::StandardButton> kButtons[] = {
    {PromptButton::Yes, QMessageBox::Yes},           {PromptButton::YesToAll, QMessageBox::YesToAll},
    {PromptButton::No, QMessageBox::No},             {PromptButton::NoToAll, QMessageBox::NoToAll},
    {PromptButton::Ok, QMessageBox::Ok},             {PromptButton::Retry, QMessageBox::Retry},
    {PromptButton::Ignore, QMessageBox::Ignore},     {PromptButton::Abort, QMessageBox::Abort},
    {PromptButton::Cancel, QMessageBox::Cancel},
};

QMessageBox::Icon iconFor(PromptKind kind)
{
    switch (kind) {
    case PromptKind::Error: return QMessageBox::Critical;
    case PromptKind::Warning: return QMessageBox::Warning;
    case PromptKind::Information: return QMessageBox::Information;
    case PromptKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

PromptButton MessageBoxPrompter::ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString& caption)
{
    QMessageBox box(iconFor(kind), caption.isEmpty() ? QLatin1String(FolvaneApplication::kTitle) : caption,
                    displayText(text), QMessageBox::NoButton, QApplication::activeWindow());
    for (const auto& [ours, theirs] : kButtons) {
        if (buttons.testFlag(ours))
            box.addButton(theirs);
    }
    const PromptButton escape = escapeAnswer(buttons);
    for (const auto& [ours, theirs] : kButtons) {
        if (ours == escape)
            box.setEscapeButton(theirs);
    }
    const int pressed = box.exec();
    for (const auto& [ours, theirs] : kButtons) {
        if (pressed == theirs)
            return ours;
    }
    return escape;
}

std::optional<QString> MessageBoxPrompter::askText(const QString& caption, const QString& prompt, const QString& initial)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), caption, displayText(prompt),
                                               QLineEdit::Normal, initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}
