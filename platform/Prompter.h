#pragma once
// Every message box, question and input box of the program goes through the Prompter, so
// that tests can script the answers and assert the exact texts asked. The program installs
// a message-box implementation at start; tests install FakePrompter (tests/support).
//
// Texts are passed as the program writes them, with "\r\n" line breaks; an implementation
// that shows them on screen turns those into plain newlines.

#include <QFlags>
#include <QString>

#include <optional>

enum class PromptKind { Error, Warning, Information, Confirmation };

enum class PromptButton {
    None = 0,
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8,
    YesToAll = 0x10,
    NoToAll = 0x20,
    Retry = 0x40,
    Abort = 0x80,
    Ignore = 0x100,
};
Q_DECLARE_FLAGS(PromptButtons, PromptButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(PromptButtons)

class Prompter {
public:
    virtual ~Prompter();

    // Shows a modal message of the given kind with the given buttons and returns the button
    // pressed. Closing the box without a button returns the "escape" answer: Cancel when
    // offered, else No when offered, else the only button.
    virtual PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text,
                             const QString& caption = QString()) = 0;

    // Asks for one line of text; nullopt when the user cancels.
    virtual std::optional<QString> askText(const QString& caption, const QString& prompt,
                                           const QString& initial) = 0;

    // Shorthands for the common boxes.
    void error(const QString& text) { ask(PromptKind::Error, PromptButton::Ok, text); }
    void warning(const QString& text) { ask(PromptKind::Warning, PromptButton::Ok, text); }
    void information(const QString& text) { ask(PromptKind::Information, PromptButton::Ok, text); }
    bool confirm(const QString& text)
    {
        return ask(PromptKind::Confirmation, PromptButton::Yes | PromptButton::No, text) == PromptButton::Yes;
    }

    // The process-wide prompter. Until one is installed, a prompter that shows nothing and
    // answers every question with its escape answer is in place.
    static Prompter& instance();
    static void setInstance(Prompter* prompter);

    // The answer given when a box is closed without pressing a button.
    static PromptButton escapeAnswer(PromptButtons buttons);

    // "\r\n" and lone "\r" become "\n", and the escaped bytes of a file name that is not
    // UTF-8 the replacement mark (FileName::display), for showing a program text on screen.
    static QString displayText(const QString& text);
};
