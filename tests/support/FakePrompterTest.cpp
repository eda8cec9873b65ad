// The test seams themselves: a scripted answer reaches the caller, the record keeps the
// exact text, and the temporary home is really in place.
#include "support/TempHome.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

class SupportTest : public TempHomeTest {};

TEST_F(SupportTest, ScriptedAnswersAndRecords)
{
    prompter().answer(PromptButton::No).answer(PromptButton::Yes);
    EXPECT_FALSE(Prompter::instance().confirm(QStringLiteral("first?\r\nline")));
    EXPECT_EQ(Prompter::instance().ask(PromptKind::Warning, PromptButton::Yes | PromptButton::Cancel,
                                       QStringLiteral("second?")),
              PromptButton::Yes);
    ASSERT_EQ(prompter().records().size(), 2);
    EXPECT_EQ(prompter().records()[0].text, QStringLiteral("first?\r\nline"));
    EXPECT_EQ(prompter().records()[0].kind, PromptKind::Confirmation);
    EXPECT_EQ(prompter().last().buttons, PromptButton::Yes | PromptButton::Cancel);
}

TEST_F(SupportTest, EscapeAnswerPrefersCancelThenNo)
{
    EXPECT_EQ(Prompter::escapeAnswer(PromptButton::Yes | PromptButton::No | PromptButton::Cancel), PromptButton::Cancel);
    EXPECT_EQ(Prompter::escapeAnswer(PromptButton::Yes | PromptButton::No), PromptButton::No);
    EXPECT_EQ(Prompter::escapeAnswer(PromptButton::Ok), PromptButton::Ok);
    EXPECT_EQ(Prompter::displayText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

TEST_F(SupportTest, HomeAndXdgFoldersAreTemporary)
{
    EXPECT_TRUE(QDir::homePath().startsWith(home().root()));
    EXPECT_TRUE(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).startsWith(home().root()));
    EXPECT_TRUE(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).startsWith(home().root()));
    pickers().answer(QStringLiteral("/tmp"));
    EXPECT_EQ(Pickers::instance().pickFolder(QStringLiteral("Pick"), QString()), QStringLiteral("/tmp"));
}

TEST_F(SupportTest, BuildFoldersAreKnown)
{
    EXPECT_TRUE(QFileInfo::exists(qEnvironmentVariable("FOLVANE_SOURCE_DIR") + QStringLiteral("/CMakeLists.txt")));
    EXPECT_TRUE(QFileInfo(qEnvironmentVariable("FOLVANE_BIN_DIR")).isDir());
}
