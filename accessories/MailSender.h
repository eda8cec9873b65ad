#pragma once
// Hands a mail to the desktop's mail program through xdg-email without waiting for it:
// finished() carries the mail result code (MailMessage::resultCode) once xdg-email ends.

#include "accessories/MailMessage.h"

#include <QObject>

class QProcess;

class MailSender : public QObject {
    Q_OBJECT
public:
    explicit MailSender(QObject* parent = nullptr);

    // False (and finished is not sent) while an earlier mail is still being handed over.
    bool send(const MailMessage& message);

Q_SIGNALS:
    void finished(int resultCode);

private:
    QProcess* m_process = nullptr;
};
