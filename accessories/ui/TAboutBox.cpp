#include "accessories/ui/TAboutBox.h"

#include "accessories/SystemFacts.h"

#include <QDateTime>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGroupBox>
#include <QHostAddress>
#include <QHostInfo>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QSysInfo>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>

#include <pwd.h>
#include <unistd.h>

namespace {

QString loginName()
{
    const QString user = qEnvironmentVariable("USER");
    if (!user.isEmpty())
        return user;
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::getuid());
}

QString createdText(const QFileInfo& file)
{
    QDateTime when = file.birthTime();
    if (!when.isValid())
        when = file.lastModified();
    if (!when.isValid())
        return QStringLiteral("unknown date/time");
    const QLocale locale;
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(when.time(), QLocale::LongFormat);
}

QLabel* line(QWidget* parent, QLayout* layout, const QString& text, const char* name = nullptr)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    layout->addWidget(label);
    return label;
}

} // namespace

TAboutBox::TAboutBox(const QString& programFile, const QString& versionText, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About FolVane"));
    const QFileInfo program(programFile);
    auto* layout = new QVBoxLayout(this);

    auto* file = new QGroupBox(program.fileName() + QStringLiteral("   Created: ") + createdText(program), this);
    auto* fileLayout = new QVBoxLayout(file);
    auto* icon = new QLabel(file);
    icon->setPixmap(QFileIconProvider().icon(program).pixmap(32, 32));
    fileLayout->addWidget(icon);
    line(file, fileLayout,
         QMimeDatabase().mimeTypeForFile(program).comment() + QLatin1Char('\n') + QStringLiteral("Size: ")
             + QLocale().toString(program.size()) + QStringLiteral(" bytes"),
         "LabelProgram");
    line(file, fileLayout, versionText, "LabelVersion");
    line(file, fileLayout, QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion() + QStringLiteral("  Build:") + QSysInfo::buildAbi());
    layout->addWidget(file);

    auto* system = new QGroupBox(QStringLiteral(" System Information:     ") + QSysInfo::prettyProductName()
                                     + QStringLiteral("        Login:") + loginName() + QLatin1Char(' '),
                                 this);
    system->setObjectName(QStringLiteral("GroupSystem"));
    auto* systemLayout = new QVBoxLayout(system);
    line(system, systemLayout, QTimeZone::systemTimeZone().displayName(QTimeZone::StandardTime), "LabelTimeZone");
    m_host = line(system, systemLayout, QStringLiteral("Host: ") + QHostInfo::localHostName() + QStringLiteral(" ") + QStringLiteral("  IP Address: "), "LabelHost");
    m_live = line(system, systemLayout, QString(), "LabelLive");
    layout->addWidget(system);

    line(this, layout, QStringLiteral("FolVane III (File Manager Plus) - QuorVel"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);

    Timer1Timer();
    auto* timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("Timer1"));
    connect(timer, &QTimer::timeout, this, &TAboutBox::Timer1Timer);
    timer->start(500);
    lookUpHost();
}

void TAboutBox::lookUpHost()
{
    // The name is resolved by Qt's lookup thread; the line is completed when it answers.
    const QString host = QHostInfo::localHostName();
    QHostInfo::lookupHost(host, this, [this, host](const QHostInfo& info) {
        QString address = QStringLiteral("(not resolved)");
        for (const QHostAddress& a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol || address.startsWith(QLatin1Char('('))) {
                address = a.toString();
                if (a.protocol() == QAbstractSocket::IPv4Protocol)
                    break;
            }
        }
        m_host->setText(QStringLiteral("Host: ") + host + QStringLiteral(" ") + QStringLiteral("  IP Address: ") + address);
    });
}

void TAboutBox::Timer1Timer()
{
    m_live->setText(SystemFacts::liveLines(MemoryFigures::read(), SystemFacts::cpuGHz()).join(QLatin1Char('\n')));
}
