#include "internet/UrlDownload.h"

#include "internet/RipAddress.h"
#include "platform/FileName.h"
#include "platform/linux/FileCopier.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>

#include <cerrno>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// What the reply may hold before it waits for us: the memory a download needs stays small
// whatever the size of the file.
constexpr qint64 kReadBuffer = 1 << 20;
constexpr int kCandidateLimit = 100000;
constexpr qint64 kProgressInterval = 100; // ms

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

UrlDownload::UrlDownload(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
    m_network->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

UrlDownload::~UrlDownload()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    removeTemp();
}

void UrlDownload::start(const QString& address, const QString& folder, const QString& name)
{
    if (m_reply) {
        Q_EMIT finished({false, {}, 0, QStringLiteral("A download is already running"), false});
        return;
    }
    const QUrl url(address.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        Q_EMIT finished({false, {}, 0, QStringLiteral("Not an http or https address: ") + address, false});
        return;
    }
    if (RipAddress::isUnusableName(name)) {
        Q_EMIT finished({false, {}, 0, QStringLiteral("No file name in the address: ") + address, false});
        return;
    }
    m_folder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    m_name = name;
    m_aborted = false;
    m_writeError.clear();
    m_received = 0;
    m_progressClock.invalidate();
    QNetworkRequest request(url);
    request.setTransferTimeout(m_stallTimeout);
    m_reply = m_network->get(request);
    // The request is on its way (on the network thread) while the temporary file is made: no
    // byte of the reply is handled before this returns to the event loop.
    if (!openTemp()) {
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
        Q_EMIT finished({false, {}, 0, m_writeError, false});
        return;
    }
    m_reply->setReadBufferSize(kReadBuffer);
    connect(m_reply, &QNetworkReply::readyRead, this, &UrlDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &UrlDownload::onFinished);
}

void UrlDownload::abort()
{
    if (!m_reply)
        return;
    m_aborted = true;
    m_reply->abort();
}

bool UrlDownload::openTemp()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = m_folder + QStringLiteral(".fvdownload-%1.part").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        FileDescriptor fd = FileDescriptor::open(FileName::encode(path), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd.isOpen()) {
            m_fd = std::move(fd);
            m_tempPath = path;
            return true;
        }
        if (fd.error() != EEXIST) {
            m_writeError = fd.status().errorString();
            return false;
        }
    }
    m_writeError = QStringLiteral("Cannot make a temporary file in ") + m_folder;
    return false;
}

void UrlDownload::removeTemp()
{
    m_fd.reset();
    if (!m_tempPath.isEmpty())
        ::unlink(FileName::encode(m_tempPath).constData());
    m_tempPath.clear();
}

void UrlDownload::onReadyRead()
{
    if (!m_reply || !m_writeError.isEmpty())
        return;
    // An error page is not the file: its body is never written.
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray bytes = m_reply->readAll();
    if (status >= 400)
        return;
    if (!writeAll(m_fd.get(), bytes)) {
        m_writeError = FileCopier::errorText(errno) + QStringLiteral(": ") + m_tempPath;
        m_reply->abort();
        return;
    }
    m_received += bytes.size();
    // The first bytes are reported at once, then a few times a second.
    if (!m_progressClock.isValid() || m_progressClock.elapsed() >= kProgressInterval) {
        m_progressClock.start();
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        Q_EMIT progressed(m_received, length.isValid() ? length.toLongLong() : -1);
    }
}

void UrlDownload::onFinished()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    DownloadOutcome outcome;
    outcome.aborted = m_aborted;
    if (!m_writeError.isEmpty())
        outcome.error = m_writeError;
    else if (m_aborted)
        outcome.error = QStringLiteral("Stopped");
    else if (reply->error() != QNetworkReply::NoError)
        outcome.error = reply->errorString();
    else if (status >= 400)
        outcome.error = QStringLiteral("HTTP %1 %2").arg(status).arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
    else if (const QByteArray rest = reply->readAll(); !writeAll(m_fd.get(), rest))
        outcome.error = FileCopier::errorText(errno) + QStringLiteral(": ") + m_tempPath;
    if (outcome.error.isEmpty() && !m_fd.close())
        outcome.error = FileCopier::errorText(errno) + QStringLiteral(": ") + m_tempPath;
    if (outcome.error.isEmpty())
        linkIn(outcome);
    finish(std::move(outcome));
}

// The complete file takes the first free name; renameat2 without replacing makes the choice
// safe against a file that appears meanwhile.
bool UrlDownload::linkIn(DownloadOutcome& outcome)
{
    const QByteArray temp = FileName::encode(m_tempPath);
    struct stat st {};
    if (::stat(temp.constData(), &st) == 0)
        outcome.size = st.st_size;
    for (int n = -1; n < kCandidateLimit; ++n) {
        const QString target = m_folder + RipAddress::candidate(m_name, n);
        bool crossDevice = false;
        const Result<FileCopier::Step> step = FileCopier::renameNoReplace(temp, FileName::encode(target), &crossDevice);
        if (!step) {
            outcome.error = step.errorString() + QStringLiteral(": ") + target;
            return false;
        }
        if (*step == FileCopier::Step::Done) {
            m_tempPath.clear();
            outcome.ok = true;
            outcome.path = target;
            return true;
        }
    }
    outcome.error = QStringLiteral("No free name for ") + m_folder + m_name;
    return false;
}

void UrlDownload::finish(DownloadOutcome outcome)
{
    removeTemp();
    Q_EMIT finished(outcome);
}
