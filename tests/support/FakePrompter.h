#pragma once
// A Prompter for tests: records every box (kind, buttons, exact text, caption) and answers
// from a script given in advance. A box that arrives with no scripted answer fails the test
// and gets its escape answer; an answer that was scripted but never asked for fails the test
// at its end (TempHomeTest checks that).

#include "platform/Prompter.h"

#include <QList>

#include <deque>

struct PromptRecord {
    PromptKind kind;
    PromptButtons buttons;
    QString text;
    QString caption;
};

class FakePrompter final : public Prompter {
public:
    // Scripts the answer to the next box.
    FakePrompter& answer(PromptButton button);
    // Scripts the answer to the next text question; nullopt stands for Cancel.
    FakePrompter& answerText(std::optional<QString> text);

    PromptButton ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString& caption) override;
    std::optional<QString> askText(const QString& caption, const QString& prompt, const QString& initial) override;

    const QList<PromptRecord>& records() const { return m_records; }
    QStringList texts() const;
    const PromptRecord& last() const { return m_records.back(); }
    void clear();

    void expectScriptUsed();

private:
    std::deque<PromptButton> m_answers;
    std::deque<std::optional<QString>> m_textAnswers;
    QList<PromptRecord> m_records;
};
