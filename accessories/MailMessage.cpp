#include "accessories/MailMessage.h"

namespace {

struct ResultText {
    int code;
    const char* text;
};

const ResultText kResults[] = {
    {0, "Successfully sent the message from application."},
    {1, "The user canceled the process; no message was sent."},
    {2, "One or more unspecified errors occurred; no message was sent."},
    {3, "There was no default logon, and the user failed to log on successfully when the logon dialog box was displayed. No message was sent."},
    {5, "There was insufficient memory to proceed. No message was sent."},
    {9, "There were too many file attachments; no message was sent."},
    {10, "There were too many recipients; no message was sent."},
    {11, "The specified attachment was not found; no message was sent."},
    {12, "The specified attachment could not be open; no message was sent."},
    {14, "A recipient did not appear in the address list; no message was sent."},
    {15, "The type of a recipient was not MAPI_TO, MAPI_CC, or MAPI_BCC. No message was sent."},
    {18, "The text in the message was too large to sent; the message was not sent."},
    {21, "A recipient matched more than one of the recipient descriptor structures. No message was sent."},
};

} // namespace

QStringList MailMessage::arguments() const
{
    QStringList args{QStringLiteral("--utf8")};
    if (!subject.isEmpty())
        args << QStringLiteral("--subject") << subject;
    if (!body.isEmpty())
        args << QStringLiteral("--body") << body;
    for (const QString& file : attachments)
        args << QStringLiteral("--attach") << file;
    return args;
}

QString MailMessage::linkBody(const QStringList& paths)
{
    // "\n": xdg-email writes the mail's own CR LF line ends.
    QString body;
    for (const QString& path : paths)
        body += path + QLatin1Char('\n');
    return body;
}

int MailMessage::resultCode(int exitCode)
{
    // xdg-email: 0 handed over, 1 bad arguments, 2 a file does not exist, 3 no mail program
    // (a required tool is missing), 4 the mail program failed, 5 a file cannot be read.
    switch (exitCode) {
    case 0: return 0;
    case 1:
    case 4: return 2;
    case 2: return 11;
    case 5: return 12;
    default: return -1;
    }
}

QString MailMessage::resultText(int resultCode)
{
    for (const ResultText& r : kResults) {
        if (r.code == resultCode)
            return QLatin1String(r.text);
    }
    return QStringLiteral("Unknown Error attempting Email\r\nPossible email client not installed.");
}
