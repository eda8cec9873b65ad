#include "support/FakePrompter.h"

#include <QStringList>

#include <gtest/gtest.h>

FakePrompter& FakePrompter::answer(PromptButton button)
{
    m_answers.push_back(button);
    return *this;
}

FakePrompter& FakePrompter::answerText(std::optional<QString> text)
{
    m_textAnswers.push_back(std::move(text));
    return *this;
}

PromptButton FakePrompter::ask(PromptKind kind, PromptButtons buttons, const QString& text, const QString& caption)
{
    m_records.append({kind, buttons, text, caption});
    if (m_answers.empty()) {
        if (buttons != PromptButtons(PromptButton::Ok))
            ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return escapeAnswer(buttons);
    }
    const PromptButton scripted = m_answers.front();
    m_answers.pop_front();
    EXPECT_TRUE(buttons.testFlag(scripted)) << "scripted answer not offered for: " << text.toStdString();
    return scripted;
}

std::optional<QString> FakePrompter::askText(const QString& caption, const QString& prompt, const QString& initial)
{
    m_records.append({PromptKind::Confirmation, PromptButton::Ok | PromptButton::Cancel, prompt, caption});
    if (m_textAnswers.empty()) {
        ADD_FAILURE() << "unexpected text question: " << prompt.toStdString();
        return std::nullopt;
    }
    std::optional<QString> scripted = std::move(m_textAnswers.front());
    m_textAnswers.pop_front();
    return scripted;
}

QStringList FakePrompter::texts() const
{
    QStringList all;
    for (const PromptRecord& record : m_records)
        all << record.text;
    return all;
}

void FakePrompter::clear()
{
    m_records.clear();
    m_answers.clear();
    m_textAnswers.clear();
}

void FakePrompter::expectScriptUsed()
{
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " scripted answers were never asked for";
    EXPECT_TRUE(m_textAnswers.empty()) << m_textAnswers.size() << " scripted text answers were never asked for";
    clear();
}
