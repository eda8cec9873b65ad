#include "viewers/RunCommand.h"

#include "platform/FileName.h"
#include "platform/LocalFiles.h"
#include "platform/PathText.h"
#include "platform/Shell.h"
#include "platform/linux/RunnableProgram.h"
#include "viewers/FileKinds.h"
#include "viewers/KeyFile.h"

#include <QUrl>

namespace RunCommand {

namespace {

// The terminals tried after the Debian alternative, the common desktops' own first.
const char* const kTerminals[] = {"gnome-terminal", "konsole", "xfce4-terminal", "mate-terminal", "lxterminal",
                                  "qterminal", "terminator", "tilix", "alacritty", "kitty", "foot", "xterm"};
constexpr qsizetype kShebangLength = 256;

Plan failed(const QString& text)
{
    Plan plan;
    plan.error = text;
    return plan;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The program of a word: a path as it is, a bare name from PATH.
QString resolved(const QString& word, const ProgramFinder& find)
{
    return word.contains(QLatin1Char('/')) ? word : find(word);
}

// The Exec line of a desktop entry as words: a field code for files (%f %F) becomes the
// document's path, one for URLs (%u %U) its URL, the others are dropped; "%%" is a "%".
// Without a document the file codes are dropped too. *used tells whether one was placed.
std::optional<QStringList> execWords(const QString& exec, const QString& document, bool* used)
{
    const std::optional<QStringList> words = SplitArguments(exec);
    if (!words)
        return std::nullopt;
    QStringList kept;
    for (QString word : *words) {
        if (word.size() == 2 && word[0] == QLatin1Char('%') && word[1] != QLatin1Char('%')) {
            const QChar code = word[1].toLower();
            if (!document.isEmpty() && (code == QLatin1Char('f') || code == QLatin1Char('u')) && !*used) {
                kept << (code == QLatin1Char('f') ? document : FileName::toUrl(document).toString(QUrl::FullyEncoded));
                *used = true;
            }
            continue;
        }
        word.replace(QStringLiteral("%%"), QStringLiteral("%"));
        kept << word;
    }
    return kept;
}

Plan planEntry(const QString& entryPath, const QString& document, const QStringList& parameters, const ProgramFinder& find)
{
    const KeyFile entry = KeyFile::read(entryPath);
    const QString section = QStringLiteral("Desktop Entry");
    if (entry.value(section, QStringLiteral("Type")) != QLatin1String("Application"))
        return failed(QStringLiteral("The desktop entry starts no program."));
    bool used = false;
    const std::optional<QStringList> words = execWords(entry.value(section, QStringLiteral("Exec")), document, &used);
    if (!words || words->isEmpty())
        return failed(QStringLiteral("The desktop entry's command line cannot be read."));
    Plan plan;
    plan.program = resolved(words->first(), find);
    plan.arguments = words->mid(1) + parameters;
    if (!document.isEmpty() && !used)
        plan.arguments << document;
    if (plan.program.isEmpty())
        plan.error = QStringLiteral("The program ") + words->first() + QStringLiteral(" is not installed.");
    return plan;
}

Plan planScript(const QString& file, const QStringList& parameters, const ProgramFinder& find)
{
    const QByteArray head = FileKinds::readHead(file, kShebangLength).value_or(QByteArray());
    Plan plan;
    if (!head.startsWith("#!")) {
        plan.program = find(QStringLiteral("sh"));
        plan.arguments = QStringList{file} + parameters;
        return plan;
    }
    const QString line = QString::fromUtf8(head.mid(2, head.indexOf('\n') < 0 ? -1 : head.indexOf('\n') - 2));
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return failed(QStringLiteral("The script names no interpreter."));
    plan.program = resolved(words.first(), find);
    plan.arguments = words.mid(1) + QStringList{file} + parameters;
    if (plan.program.isEmpty() || !LocalFiles::isFile(plan.program))
        return failed(QStringLiteral("The interpreter ") + words.first() + QStringLiteral(" is not installed."));
    return plan;
}

} // namespace

std::optional<QStringList> SplitArguments(const QString& text)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isBlank(c)) {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == QLatin1Char('\'')) {
            const qsizetype end = text.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                return std::nullopt;
            word += text.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == QLatin1Char('"')) {
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] == QLatin1Char('"'))
                    break;
                // Inside double quotes a backslash keeps its meaning only before these.
                if (text[i] == QLatin1Char('\\') && i + 1 < text.size()
                    && QStringLiteral("\"\\$`").contains(text[i + 1]))
                    ++i;
                word += text[i];
            }
        } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            word += text[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

Plan PlanRun(const QString& file, const QString& parameters, const ProgramFinder& find)
{
    const std::optional<QStringList> words = SplitArguments(parameters);
    if (!words)
        return failed(QStringLiteral("A quote in the parameters is not closed."));
    if (!LocalFiles::isFile(file))
        return failed(QStringLiteral("The specified file was not found."));
    Plan plan;
    if (FileKinds::IsProgramFile(file)) {
        plan.program = find(QStringLiteral("wine"));
        plan.arguments = QStringList{file} + *words;
        if (plan.program.isEmpty())
            plan.error = QStringLiteral("Windows programs need wine, which is not installed.");
    } else if (FileKinds::HasExtension(file, QStringLiteral(".DESKTOP"))) {
        plan = planEntry(file, QString(), *words, find);
    } else if (IsRunnableProgram(file)) {
        plan.program = file;
        plan.arguments = *words;
    } else {
        plan = planScript(file, *words, find);
    }
    plan.workingFolder = PathText::folderOf(file);
    return plan;
}

Plan PlanOpenWith(const QString& entryPath, const QString& file, const ProgramFinder& find)
{
    Plan plan = planEntry(entryPath, file, {}, find);
    plan.workingFolder = PathText::folderOf(file);
    return plan;
}

Plan PlanTerminal(const QString& folder, const ProgramFinder& find)
{
    Plan plan;
    plan.workingFolder = folder;
    plan.program = find(QStringLiteral("x-terminal-emulator"));
    for (const char* name : kTerminals) {
        if (!plan.program.isEmpty())
            break;
        plan.program = find(QLatin1String(name));
    }
    if (plan.program.isEmpty())
        plan.error = QStringLiteral("No terminal program is installed.");
    return plan;
}

ShellExecuteResult Start(const Plan& plan)
{
    ShellExecuteResult result;
    if (!plan.isValid()) {
        result.error = plan.error;
        return result;
    }
    const Status started = ProgramLauncher::instance().start(plan.program, plan.arguments, plan.workingFolder);
    result.accepted = bool(started);
    result.error = started.errorString();
    return result;
}

ProgramFinder launcherFinder()
{
    return [](const QString& name) { return ProgramLauncher::instance().findProgram(name); };
}

} // namespace RunCommand
