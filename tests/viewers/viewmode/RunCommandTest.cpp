// The Run dialog's start: parameters split as a shell splits words but never given to a
// shell, Windows programs through wine only when it is there, desktop entries by their
// Exec line, and the terminal of the command-prompt button.
#include "viewers/RunCommand.h"
#include "platform/Shell.h"
#include "support/FakeLauncher.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

using RunCommandTest = TempHomeTest;
using RunCommand::SplitArguments;

RunCommand::ProgramFinder finder(const QStringList& installed)
{
    return [installed](const QString& name) {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
}

TEST(RunArguments, WordsAreSplitAsAShellSplitsThemWithNothingExpanded)
{
    struct Case {
        const char* text;
        QStringList words;
    } cases[] = {
        {"", {}},
        {"  -a   -b\t-c ", {"-a", "-b", "-c"}},
        {"'two words' \"and more\"", {"two words", "and more"}},
        {"a\\ b", {"a b"}},
        {"\"say \\\"hi\\\" \\n\"", {"say \"hi\" \\n"}},
        {"'it''s'", {"its"}},
        {"\"\" ''", {"", ""}},
        {"$(touch pwned) `id` ; rm -rf ~ && x|y > z", {"$(touch", "pwned)", "`id`", ";", "rm", "-rf", "~", "&&", "x|y", ">", "z"}},
        {"pre'mid'\"post\"", {"premidpost"}},
    };
    for (const Case& c : cases) {
        const auto words = SplitArguments(QString::fromUtf8(c.text));
        ASSERT_TRUE(words.has_value()) << c.text;
        EXPECT_EQ(*words, c.words) << c.text;
    }
    EXPECT_FALSE(SplitArguments(QStringLiteral("'open")).has_value());
    EXPECT_FALSE(SplitArguments(QStringLiteral("\"open")).has_value());
}

TEST_F(RunCommandTest, EachKindOfProgramHasItsWayToStart)
{
    const QString exe = makeFile(QStringLiteral("p/x;touch pwned.EXE"), "MZ");
    const QString script = makeFile(QStringLiteral("p/plain.sh"), "#!/usr/bin/env python3 -u\nprint()\n");
    const QString bare = makeFile(QStringLiteral("p/bare.sh"), "echo hi\n");
    const QString entry = makeFile(QStringLiteral("p/tool.desktop"), "[Desktop Entry]\nType=Application\nExec=tool --flag %F \"100%%\"\n");
    const QString link = makeFile(QStringLiteral("p/link.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
    const QString folder = home().root() + QStringLiteral("/p");

    RunCommand::Plan plan = RunCommand::PlanRun(exe, QStringLiteral("-v '$(id)'"), finder({"wine"}));
    ASSERT_TRUE(plan.isValid()) << qPrintable(plan.error);
    EXPECT_EQ(plan.program, QStringLiteral("/usr/bin/wine"));
    EXPECT_EQ(plan.arguments, (QStringList{exe, QStringLiteral("-v"), QStringLiteral("$(id)")}));
    EXPECT_EQ(plan.workingFolder, folder);
    plan = RunCommand::PlanRun(exe, QString(), finder({}));
    EXPECT_FALSE(plan.isValid());
    EXPECT_EQ(plan.error, QStringLiteral("Windows programs need wine, which is not installed."));

    plan = RunCommand::PlanRun(script, QStringLiteral("a"), finder({}));
    EXPECT_EQ(plan.program, QStringLiteral("/usr/bin/env"));
    EXPECT_EQ(plan.arguments, (QStringList{QStringLiteral("python3"), QStringLiteral("-u"), script, QStringLiteral("a")}));
    plan = RunCommand::PlanRun(bare, QString(), finder({"sh"}));
    EXPECT_EQ(plan.program, QStringLiteral("/usr/bin/sh"));
    EXPECT_EQ(plan.arguments, QStringList{bare});

    plan = RunCommand::PlanRun(entry, QStringLiteral("extra"), finder({"tool"}));
    EXPECT_EQ(plan.program, QStringLiteral("/usr/bin/tool"));
    EXPECT_EQ(plan.arguments, (QStringList{QStringLiteral("--flag"), QStringLiteral("100%"), QStringLiteral("extra")}));
    EXPECT_FALSE(RunCommand::PlanRun(link, QString(), finder({})).isValid());
    EXPECT_EQ(RunCommand::PlanRun(exe, QStringLiteral("'open"), finder({"wine"})).error,
              QStringLiteral("A quote in the parameters is not closed."));

    plan = RunCommand::PlanOpenWith(entry, QStringLiteral("/d/my file.pdf"), finder({"tool"}));
    EXPECT_EQ(plan.arguments, (QStringList{QStringLiteral("--flag"), QStringLiteral("/d/my file.pdf"), QStringLiteral("100%")}));
    EXPECT_EQ(plan.workingFolder, QStringLiteral("/d"));
}

// The real thing: a program file named with shell syntax, started with parameters that a
// shell would run, records exactly the words it was given and nothing else runs.
TEST_F(RunCommandTest, NamesAndParametersNeverReachAShell)
{
    const QString folder = makeFolder(QStringLiteral("run"));
    const QString record = folder + QStringLiteral("/args.txt");
    const QString program = makeFile(QStringLiteral("run/x;touch pwned;.sh"),
                                     "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + record.toUtf8() + "\"\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    const RunCommand::Plan plan = RunCommand::PlanRun(program, QStringLiteral("\"$(touch pwned2)\" ';touch pwned3'"), RunCommand::launcherFinder());
    ASSERT_TRUE(plan.isValid()) << qPrintable(plan.error);
    ASSERT_TRUE(RunCommand::Start(plan).accepted);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(record).size() > 0; }, 10000));
    QTest::qWait(200);
    QFile out(record);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("$(touch pwned2)\n;touch pwned3\n"));
    const QStringList left = QDir(folder).entryList(QDir::Files);
    EXPECT_EQ(left, (QStringList{QStringLiteral("args.txt"), QStringLiteral("x;touch pwned;.sh")})) << "nothing else was made";
}

TEST_F(RunCommandTest, TheTerminalIsTheDesktopsOrTheFirstInstalled)
{
    RunCommand::Plan plan = RunCommand::PlanTerminal(QStringLiteral("/data/here"), finder({"xterm", "konsole", "x-terminal-emulator"}));
    EXPECT_EQ(plan.program, QStringLiteral("/usr/bin/x-terminal-emulator"));
    EXPECT_EQ(plan.workingFolder, QStringLiteral("/data/here"));
    EXPECT_TRUE(plan.arguments.isEmpty());
    EXPECT_EQ(RunCommand::PlanTerminal(QStringLiteral("/d"), finder({"xterm", "konsole"})).program, QStringLiteral("/usr/bin/konsole"));
    plan = RunCommand::PlanTerminal(QStringLiteral("/d"), finder({}));
    EXPECT_FALSE(plan.isValid());
    EXPECT_EQ(plan.error, QStringLiteral("No terminal program is installed."));

    FakeLauncher launcher;
    launcher.addProgram(QStringLiteral("xterm"));
    const ShellExecuteResult result = RunCommand::Start(RunCommand::PlanTerminal(QStringLiteral("/d"), RunCommand::launcherFinder()));
    EXPECT_TRUE(result.accepted);
    ASSERT_EQ(launcher.launches().size(), 1);
    EXPECT_EQ(launcher.launches().first().workingFolder, QStringLiteral("/d"));
}

} // namespace
