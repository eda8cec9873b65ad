#include "accessories/MailSender.h"

#include "platform/Shell.h"

#include <QProcess>

MailSender::MailSender(QObject* parent)
    : QObject(parent)
{
}

bool MailSender::send(const MailMessage& message)
{
    if (m_process)
        return false;
    const QString program = ProgramLauncher::instance().findProgram(QStringLiteral("xdg-email"));
    if (program.isEmpty()) {
        Q_EMIT finished(MailMessage::resultCode(-1));
        return true;
    }
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        m_process->deleteLater();
        m_process = nullptr;
        Q_EMIT finished(MailMessage::resultCode(status == QProcess::NormalExit ? code : -1));
    });
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        m_process->deleteLater();
        m_process = nullptr;
        Q_EMIT finished(MailMessage::resultCode(-1));
    });
    m_process->start(program, message.arguments());
    return true;
}
