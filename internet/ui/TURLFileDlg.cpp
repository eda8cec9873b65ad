#include "internet/ui/TURLFileDlg.h"

#include "internet/RipAddress.h"
#include "internet/ui/ElidedLabel.h"
#include "internet/ui/RipThread.h"
#include "platform/ChangeNotices.h"
#include "platform/LocalFiles.h"
#include "platform/Pickers.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSampleAddress = QStringLiteral("http://www.xyzabc.com/23/34.pas");

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

template <typename Control>
Control* named(Control* control, const QString& name)
{
    control->setObjectName(name);
    return control;
}

// A label that reports clicks ("Click" lists the digit positions).
class ClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent*) override
    {
        if (onClick)
            onClick();
    }
};

} // namespace

TURLFileDlg::TURLFileDlg(const QString& folder, QWidget* parent)
    : QDialog(parent), m_thread(new RipThread(this)), m_treeFolder(folder)
{
    setObjectName(QStringLiteral("TURLFileDlg"));
    setWindowTitle(QStringLiteral("URL FILE RIP"));
    buildControls();
    // No button is the dialog's default: Enter in a field would press the first one (File
    // Index), overwriting the counter just typed.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    connectControls();
    connectRun();
    EditToPath->setText(withSlash(folder));
}

TURLFileDlg::~TURLFileDlg() = default;

void TURLFileDlg::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    Edit1 = named(new QLineEdit(kSampleAddress), QStringLiteral("Edit1"));
    layout->addWidget(Edit1);
    auto* indexLine = new QHBoxLayout;
    auto* click = named(new ClickLabel(QStringLiteral("Click")), QStringLiteral("LabelOfIndex"));
    click->onClick = [this] { LabelOfIndexClick(); };
    // A long address lists many digit positions: they wrap onto more lines rather than
    // widening the dialog past the screen.
    click->setWordWrap(true);
    LabelOfIndex = click;
    indexLine->addWidget(LabelOfIndex, 1);
    indexLine->addWidget(ButtonSetFileIndex = named(new QPushButton(QStringLiteral("File Index")), QStringLiteral("ButtonSetFileIndex")));
    indexLine->addWidget(ButtonIndex0 = named(new QPushButton(QStringLiteral("01 thru 10 = 0")), QStringLiteral("ButtonIndex0")));
    layout->addLayout(indexLine);
    layout->addLayout(buildCounterGrid());

    auto* target = new QGridLayout;
    target->addWidget(new QLabel(QStringLiteral("Ext:")), 0, 0);
    target->addWidget(EditEXT = named(new QLineEdit(QStringLiteral("cip")), QStringLiteral("EditEXT")), 0, 1);
    target->addWidget(new QLabel(QStringLiteral("Min Size:")), 0, 2);
    target->addWidget(MaskEditFileSize = named(new QLineEdit(QStringLiteral("45000")), QStringLiteral("MaskEditFileSize")), 0, 3);
    target->addWidget(new QLabel(QStringLiteral("To:")), 1, 0);
    target->addWidget(EditToPath = named(new QLineEdit, QStringLiteral("EditToPath")), 1, 1, 1, 3);
    target->addWidget(ButtonSelectToPath = named(new QPushButton(QStringLiteral("...")), QStringLiteral("ButtonSelectToPath")), 1, 4);
    layout->addLayout(target);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonRip = named(new QPushButton(QStringLiteral("<< Rip")), QStringLiteral("ButtonRip")));
    buttons->addWidget(ButtonDownloadFile = named(new QPushButton(QStringLiteral("Download One")), QStringLiteral("ButtonDownloadFile")));
    buttons->addWidget(Button2 = named(new QPushButton(QStringLiteral("List of Links DL")), QStringLiteral("Button2")));
    buttons->addWidget(Button1 = named(new QPushButton(QStringLiteral("stop")), QStringLiteral("Button1")));
    layout->addLayout(buttons);

    auto* status = new QGridLayout;
    // The saved file's path and the byte counts are shortened to the dialog's width.
    status->addWidget(LabelInfo = named(new ElidedLabel(QStringLiteral("Info")), QStringLiteral("LabelInfo")), 0, 0, 1, 2);
    status->addWidget(LabelSavedFileCount = named(new QLabel(QStringLiteral("FileCount")), QStringLiteral("LabelSavedFileCount")), 1, 0);
    status->addWidget(LabelStatusCode = named(new ElidedLabel(QStringLiteral("LabelStatusCode"), Qt::ElideRight), QStringLiteral("LabelStatusCode")), 1, 1);
    OvcMeter1 = named(new QProgressBar, QStringLiteral("OvcMeter1"));
    OvcMeter1->setRange(0, 100);
    OvcMeter1->setValue(0);
    status->addWidget(OvcMeter1, 2, 0, 1, 2);
    layout->addLayout(status);
}

QLayout* TURLFileDlg::buildCounterGrid()
{
    auto* grid = new QGridLayout;
    const char* headers[] = {"", "Min/Max", "", "Width", "Index", "Alpha"};
    for (int column = 0; column < int(std::size(headers)); ++column)
        grid->addWidget(new QLabel(QLatin1String(headers[column])), 0, column);
    grid->addWidget(new QLabel(QStringLiteral("< 0 index to ignore")), 0, 6);
    for (int i = 0; i < RipCounter::kCount; ++i) {
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        const bool last = i == RipCounter::kCount - 1;
        CounterRow& row = m_rows[size_t(i)];
        const auto field = [&](const char* stem, const char* value) {
            auto* edit = named(new QLineEdit(QLatin1String(value)), QStringLiteral("EditCount") + number + QLatin1String(stem));
            edit->setMaximumWidth(70);
            return edit;
        };
        row.min = field("min", last ? "1" : "0");
        row.max = field("max", last ? "16" : "0");
        row.width = field(last ? "Width" : "width", last ? "2" : "0");
        row.index = field("Index", last ? "42" : "0");
        row.alpha = named(new QCheckBox(number + QStringLiteral(" [65-122 A-z]")), QStringLiteral("CheckBox") + number);
        grid->addWidget(new QLabel(number), i + 1, 0);
        grid->addWidget(row.min, i + 1, 1);
        grid->addWidget(row.max, i + 1, 2);
        grid->addWidget(row.width, i + 1, 3);
        grid->addWidget(row.index, i + 1, 4);
        grid->addWidget(row.alpha, i + 1, 5, 1, 2);
    }
    return grid;
}

void TURLFileDlg::connectControls()
{
    connect(Edit1, &QLineEdit::textChanged, this, &TURLFileDlg::Edit1Change);
    connect(ButtonSetFileIndex, &QPushButton::clicked, this, &TURLFileDlg::ButtonSetFileIndexClick);
    connect(ButtonIndex0, &QPushButton::clicked, this, &TURLFileDlg::ButtonIndex0Click);
    connect(ButtonSelectToPath, &QPushButton::clicked, this, &TURLFileDlg::ButtonSelectToPathClick);
    connect(ButtonRip, &QPushButton::clicked, this, &TURLFileDlg::ButtonRipClick);
    connect(ButtonDownloadFile, &QPushButton::clicked, this, &TURLFileDlg::ButtonDownloadFileClick);
    connect(Button2, &QPushButton::clicked, this, &TURLFileDlg::Button2Click);
    connect(Button1, &QPushButton::clicked, this, [this] { m_thread->post([](RipRun& run) { run.stopCurrent(); }); });
    for (CounterRow& row : m_rows) {
        // An index of 0 switches the counter off and clears its other fields.
        connect(row.index, &QLineEdit::textEdited, this, [row](const QString& text) {
            if (text.trimmed() == QLatin1String("0")) {
                for (QLineEdit* edit : {row.width, row.min, row.max})
                    edit->setText(QStringLiteral("0"));
            }
        });
        connect(row.alpha, &QCheckBox::toggled, this, [row](bool on) {
            if (!on)
                return;
            row.min->setText(QStringLiteral("65"));
            row.max->setText(QStringLiteral("122"));
            row.width->setText(QStringLiteral("1"));
        });
    }
}

void TURLFileDlg::connectRun()
{
    RipRun* run = m_thread->run();
    connect(run, &RipRun::addressStarted, this, [this](const QString& address) { Edit1->setText(address); });
    connect(run, &RipRun::progressed, this, [this](qint64 received, qint64 total) {
        OvcMeter1->setValue(RipAddress::percent(received, total));
        LabelStatusCode->setText(RipAddress::progressText(received, total));
    });
    connect(run, &RipRun::saved, this, [this](const QString& path) {
        OvcMeter1->setValue(0);
        LabelStatusCode->clear();
        if (m_ripping)
            LabelInfo->setText(QStringLiteral("SAVED:  ") + path);
    });
    connect(run, &RipRun::deleted, this, [this](const QString& path) {
        if (m_ripping)
            LabelInfo->setText(QStringLiteral("DELETED: ") + path);
    });
    connect(run, &RipRun::failed, this, [this](const QString&, const QString& error) {
        OvcMeter1->setValue(0);
        LabelStatusCode->setText(error);
    });
    connect(run, &RipRun::countChanged, this, [this](int count) { LabelSavedFileCount->setText(QString::number(count)); });
    connect(run, &RipRun::finished, this, &TURLFileDlg::runEnded);
}

void TURLFileDlg::done(int result)
{
    // Closing during a run halts it.
    if (m_running)
        m_thread->post([](RipRun& run) { run.halt(); });
    QDialog::done(result);
}

// Every field is checked before anything starts: a bad one is named.
std::optional<RipCounters> TURLFileDlg::counters()
{
    RipCounters all;
    for (int i = 0; i < RipCounter::kCount; ++i) {
        const CounterRow& row = m_rows[size_t(i)];
        QString error;
        const std::optional<RipCounter> counter =
            RipCounter::parse({row.index->text(), row.width->text(), row.min->text(), row.max->text(), row.alpha->isChecked()}, i + 1, &error);
        if (!counter) {
            Prompter::instance().error(error);
            return std::nullopt;
        }
        all[size_t(i)] = *counter;
    }
    return all;
}

std::optional<RipTarget> TURLFileDlg::target()
{
    RipTarget target;
    bool ok = false;
    target.minSize = MaskEditFileSize->text().trimmed().toLongLong(&ok);
    if (!ok || target.minSize < 0) {
        Prompter::instance().error(QStringLiteral("Min Size: \"%1\" is not a number of bytes").arg(MaskEditFileSize->text()));
        return std::nullopt;
    }
    target.folder = EditToPath->text();
    if (!LocalFiles::isDir(target.folder)) {
        Prompter::instance().error(QStringLiteral("The folder does not exist: ") + target.folder);
        return std::nullopt;
    }
    target.ext = EditEXT->text();
    return target;
}

void TURLFileDlg::ButtonRipClick()
{
    if (m_running) {
        if (m_ripping) {
            clearMaxFields();
            m_thread->post([](RipRun& run) { run.halt(); });
        }
        return;
    }
    const std::optional<RipCounters> walk = counters();
    const std::optional<RipTarget> to = walk ? target() : std::nullopt;
    if (!to)
        return;
    const QString example = Edit1->text();
    LabelSavedFileCount->setText(QStringLiteral("0"));
    LabelInfo->clear();
    startRun(true);
    m_thread->post([example, counters = *walk, t = *to](RipRun& run) { run.rip(example, counters, t); });
}

void TURLFileDlg::ButtonDownloadFileClick()
{
    const std::optional<RipTarget> to = m_running ? std::nullopt : target();
    if (!to)
        return;
    startRun(false);
    m_thread->post([address = Edit1->text(), t = *to](RipRun& run) { run.downloadOne(address, t); });
}

void TURLFileDlg::Button2Click()
{
    if (m_running)
        return;
    const QString file = Pickers::instance().openFile(QStringLiteral("List of Links"), m_treeFolder, QStringLiteral("Text files (*.txt);;All files (*)"));
    if (file.isEmpty())
        return;
    QString error;
    const std::optional<QStringList> links = RipAddress::readLinkList(file, &error);
    if (!links) {
        Prompter::instance().error(error);
        return;
    }
    const std::optional<RipTarget> to = target();
    if (!to)
        return;
    startRun(false);
    m_thread->post([links = *links, t = *to](RipRun& run) { run.downloadList(links, t); });
}

void TURLFileDlg::startRun(bool rip)
{
    m_running = true;
    m_ripping = rip;
    if (rip)
        ButtonRip->setText(QStringLiteral("Halt"));
    setBusy(true);
}

void TURLFileDlg::runEnded()
{
    if (m_ripping) {
        ButtonRip->setText(QStringLiteral("<< Rip"));
        clearMaxFields();
    }
    m_running = false;
    m_ripping = false;
    setBusy(false);
    NotifyChange(ChangeEvent::Create, m_treeFolder);
    Q_EMIT runFinished();
}

void TURLFileDlg::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
    ButtonDownloadFile->setEnabled(!busy);
    Button2->setEnabled(!busy);
    ButtonRip->setEnabled(!busy || m_ripping);
}

void TURLFileDlg::clearMaxFields()
{
    for (CounterRow& row : m_rows)
        row.max->setText(QStringLiteral("0"));
}

void TURLFileDlg::Edit1Change()
{
    ButtonSetFileIndexClick();
    LabelOfIndexClick();
}

void TURLFileDlg::ButtonSetFileIndexClick()
{
    const RipAddress::DigitRun run = RipAddress::lastDigitRun(Edit1->text());
    CounterRow& last = m_rows.back();
    last.index->setText(QString::number(run.index));
    last.width->setText(QString::number(run.width));
    last.max->setText(run.digits);
    last.min->setText(QStringLiteral("1"));
}

void TURLFileDlg::LabelOfIndexClick()
{
    LabelOfIndex->setText(RipAddress::digitPositions(Edit1->text()));
}

void TURLFileDlg::ButtonIndex0Click()
{
    for (CounterRow& row : m_rows) {
        row.index->setText(QStringLiteral("0"));
        Q_EMIT row.index->textEdited(row.index->text());
    }
}

void TURLFileDlg::ButtonSelectToPathClick()
{
    const QString folder = Pickers::instance().pickFolder(QStringLiteral("Browse"), EditToPath->text());
    if (!folder.isEmpty() && LocalFiles::isDir(folder))
        EditToPath->setText(withSlash(folder));
}
