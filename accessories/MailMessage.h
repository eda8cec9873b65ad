#pragma once
// A new mail for the desktop's mail program, handed over through xdg-email: a subject, a
// body and files to attach; no recipients (the user fills them in the compose window).

#include <QString>
#include <QStringList>

struct MailMessage {
    QString subject;
    QString body;
    QStringList attachments; // full paths

    // The xdg-email arguments: "--utf8", the subject and body when given, one "--attach"
    // per file.
    QStringList arguments() const;

    // The body of links to the selected items: each path followed by a line break, in the
    // order given (the caller passes the selection from the last item to the first).
    static QString linkBody(const QStringList& paths);

    // The mail result code (0 sent, 2 unspecified error, 11 attachment not found, 12
    // attachment could not be opened, -1 no mail program) of xdg-email's exit code, and of a
    // start that failed (exitCode < 0).
    static int resultCode(int exitCode);
    // The information text shown for a result code.
    static QString resultText(int resultCode);
    // An attachment count above this asks first.
    static constexpr int kAttachmentsWithoutAsking = 100;
};
