#pragma once
// The local HTTP server of the downloader tests (rip_server.py on 127.0.0.1, a free port),
// serving the files of one folder; stopped when the object goes.

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

class RipServer {
public:
    explicit RipServer(const QString& folder)
    {
        m_process.setProgram(QStringLiteral("python3"));
        m_process.setArguments({QStringLiteral(RIP_SERVER_SCRIPT), folder});
        m_process.start();
        if (m_process.waitForReadyRead(10000)) {
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT "))
                m_port = line.mid(5).toInt();
        }
    }
    ~RipServer()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    bool isRunning() const { return m_port > 0; }
    // "http://127.0.0.1:<port>/<kind>/<name>"
    QString url(const QString& kind, const QString& name = QString()) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2/%3").arg(m_port).arg(kind, name);
    }

private:
    QProcess m_process;
    int m_port = 0;
};
