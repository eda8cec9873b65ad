#include "support/FakeLauncher.h"

FakeLauncher::FakeLauncher()
{
    ProgramLauncher::setInstance(this);
}

FakeLauncher::~FakeLauncher()
{
    ProgramLauncher::setInstance(nullptr);
}

FakeLauncher& FakeLauncher::addProgram(const QString& name)
{
    m_programs.insert(name, QStringLiteral("/usr/bin/") + name);
    return *this;
}

QString FakeLauncher::findProgram(const QString& name)
{
    return m_programs.value(name);
}

Status FakeLauncher::start(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    m_launches.append({program, arguments, workingFolder});
    if (m_failure.isEmpty())
        return Status();
    return Status::failure(QStringLiteral("FakeLauncher"), m_failure);
}
