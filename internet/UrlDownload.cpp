#include "internet/UrlDownload.h"

#include "internet/PlainHttpGet.h"
#include "internet/QtHttpGet.h"
#include "internet/RipAddress.h"
#include "platform/FileName.h"
#include "platform/linux/FileCopier.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

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
    : QObject(parent), m_plain(new PlainHttpGet(this)), m_qt(new QtHttpGet(this))
{
    for (HttpGet* get : {static_cast<HttpGet*>(m_plain), static_cast<HttpGet*>(m_qt)}) {
        connect(get, &HttpGet::responded, this, &UrlDownload::onResponded);
        connect(get, &HttpGet::received, this, &UrlDownload::onReceived);
        connect(get, &HttpGet::ended, this, &UrlDownload::onEnded);
    }
    connect(m_plain, &HttpGet::redirectedAway, this, &UrlDownload::onRedirectedAway);
}

UrlDownload::~UrlDownload()
{
    if (m_get)
        m_get->abort();
    removeTemp();
}

void UrlDownload::start(const QString& address, const QString& folder, const QString& name)
{
    if (m_get) {
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
    m_status = 0;
    m_reason.clear();
    m_total = -1;
    m_received = 0;
    m_progressClock.invalidate();
    // The temporary file comes first: a folder it cannot be made in sends no request.
    QString error;
    if (!openTemp(&error)) {
        Q_EMIT finished({false, {}, 0, error, false});
        return;
    }
    m_get = m_plain->handles(url) ? static_cast<HttpGet*>(m_plain) : m_qt;
    m_get->start(url, m_stallTimeout);
}

void UrlDownload::abort()
{
    if (!m_get)
        return;
    m_get->abort();
    finish({false, {}, 0, QStringLiteral("Stopped"), true});
}

bool UrlDownload::openTemp(QString* error)
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
            *error = fd.status().errorString();
            return false;
        }
    }
    *error = QStringLiteral("Cannot make a temporary file in ") + m_folder;
    return false;
}

void UrlDownload::removeTemp()
{
    m_fd.reset();
    if (!m_tempPath.isEmpty())
        ::unlink(FileName::encode(m_tempPath).constData());
    m_tempPath.clear();
}

void UrlDownload::onResponded(int status, const QByteArray& reason, qint64 length)
{
    m_status = status;
    m_reason = reason;
    m_total = length;
}

void UrlDownload::onReceived(const QByteArray& bytes)
{
    // An error page is not the file: its body is never written.
    if (m_status >= 400)
        return;
    if (!writeAll(m_fd.get(), bytes)) {
        const QString error = FileCopier::errorText(errno) + QStringLiteral(": ") + m_tempPath;
        m_get->abort();
        finish({false, {}, 0, error, false});
        return;
    }
    m_received += bytes.size();
    // The first bytes are reported at once, then a few times a second.
    if (!m_progressClock.isValid() || m_progressClock.elapsed() >= kProgressInterval) {
        m_progressClock.start();
        Q_EMIT progressed(m_received, m_total);
    }
}

void UrlDownload::onEnded(const QString& error)
{
    DownloadOutcome outcome;
    if (m_status >= 400)
        outcome.error = QStringLiteral("HTTP %1 %2").arg(m_status).arg(QString::fromLatin1(m_reason));
    else if (!error.isEmpty())
        outcome.error = error;
    else if (!m_fd.close())
        outcome.error = FileCopier::errorText(errno) + QStringLiteral(": ") + m_tempPath;
    if (outcome.error.isEmpty())
        linkIn(outcome);
    finish(std::move(outcome));
}

void UrlDownload::onRedirectedAway(const QUrl& url)
{
    m_get = m_qt;
    m_get->start(url, m_stallTimeout);
}

// The complete file takes the first free name; renameat2 without replacing makes the choice
// safe against a file that appears meanwhile.
bool UrlDownload::linkIn(DownloadOutcome& outcome)
{
    const QByteArray temp = FileName::encode(m_tempPath);
    outcome.size = m_received; // every byte received was written, or the download failed
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
    m_get = nullptr;
    removeTemp();
    Q_EMIT finished(outcome);
}
