#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                  "XDG_RUNTIME_DIR", "XDG_CONFIG_DIRS", "XDG_STATE_HOME"};

std::vector<std::filesystem::path>& removedHomes()
{
    static std::vector<std::filesystem::path> homes;
    return homes;
}

} // namespace

TempHome::TempHome()
{
    for (const char* name : kVariables) {
        m_saved[name] = qEnvironmentVariableIsSet(name) ? std::optional<QByteArray>(qgetenv(name)) : std::nullopt;
    }
    const QString base = m_dir.path();
    QDir().mkpath(home());
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    QDir().mkpath(home() + QStringLiteral("/.cache"));
    QDir().mkpath(home() + QStringLiteral("/.local/state"));
    QDir().mkpath(systemConfigDir());
    QDir().mkpath(base + QStringLiteral("/runtime"));
    QFile::setPermissions(base + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& entry : environment()) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        qputenv(entry.left(eq).toLocal8Bit(), entry.mid(eq + 1).toLocal8Bit());
    }
}

TempHome::~TempHome()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
    // Removed by bytes: Qt's own removal decodes names and cannot delete a file whose name
    // is not valid UTF-8, which tests of odd names leave behind.
    std::error_code ignored;
    const std::filesystem::path root(QFile::encodeName(m_dir.path()).toStdString());
    std::filesystem::remove_all(root, ignored);
    removedHomes().push_back(root);
}

void TempHome::removeAgainAfterLateWriters()
{
    std::error_code ignored;
    for (const std::filesystem::path& root : removedHomes())
        std::filesystem::remove_all(root, ignored);
    removedHomes().clear();
}

QString TempHome::home() const { return m_dir.path() + QStringLiteral("/home"); }
QString TempHome::configHome() const { return home() + QStringLiteral("/.config"); }
QString TempHome::dataHome() const { return home() + QStringLiteral("/.local/share"); }
QString TempHome::systemConfigDir() const { return m_dir.path() + QStringLiteral("/etc-xdg"); }

QStringList TempHome::environment() const
{
    return {
        QStringLiteral("HOME=") + home(),
        QStringLiteral("XDG_CONFIG_HOME=") + configHome(),
        QStringLiteral("XDG_DATA_HOME=") + dataHome(),
        QStringLiteral("XDG_CACHE_HOME=") + home() + QStringLiteral("/.cache"),
        QStringLiteral("XDG_STATE_HOME=") + home() + QStringLiteral("/.local/state"),
        QStringLiteral("XDG_RUNTIME_DIR=") + m_dir.path() + QStringLiteral("/runtime"),
        QStringLiteral("XDG_CONFIG_DIRS=") + systemConfigDir(),
    };
}

void TempHomeTest::SetUp()
{
    m_home = std::make_unique<TempHome>();
    Prompter::setInstance(&m_prompter);
    Pickers::setInstance(&m_pickers);
}

void TempHomeTest::TearDown()
{
    Prompter::setInstance(nullptr);
    Pickers::setInstance(nullptr);
    m_prompter.expectScriptUsed();
    m_pickers.expectScriptUsed();
    m_home.reset();
}

QString TempHomeTest::makeFile(const QString& relativePath, const QByteArray& bytes)
{
    const QString path = m_home->root() + QLatin1Char('/') + relativePath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

QString TempHomeTest::makeFolder(const QString& relativePath)
{
    const QString path = m_home->root() + QLatin1Char('/') + relativePath;
    QDir().mkpath(path);
    return path;
}
