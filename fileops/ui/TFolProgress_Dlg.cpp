#include "fileops/ui/TFolProgress_Dlg.h"

#include "platform/JobRunner.h"
#include "platform/Prompter.h"

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

TFolProgress_Dlg::TFolProgress_Dlg(QWidget* parent) : QDialog(parent), m_poll(new QTimer(this))
{
    setObjectName(QStringLiteral("FolProgress_Dlg"));
    setWindowTitle(QStringLiteral("Progress"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // auto-sized
    const auto label = [&](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setMinimumWidth(380);
        l->setWordWrap(true);
        layout->addWidget(l);
        return l;
    };
    const auto meter = [&](const char* name) {
        auto* m = new QProgressBar(this);
        m->setObjectName(QLatin1String(name));
        m->setRange(0, 100);
        m->setTextVisible(true);
        layout->addWidget(m);
        return m;
    };
    LabelAction = label("LabelAction");
    QFont bold = LabelAction->font();
    bold.setBold(true);
    LabelAction->setFont(bold);
    LabelAction->setStyleSheet(QStringLiteral("color: blue"));
    LabelListNames = label("LabelListNames");
    LabelProgressMeter = label("LabelProgressMeter");
    ProgressMeter = meter("ProgressMeter");
    LabelItemMeter = label("LabelItemMeter");
    ItemMeter = meter("ItemMeter");
    ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
    ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(ButtonCancel, 0, Qt::AlignHCenter);
    connect(ButtonCancel, &QPushButton::clicked, this, &TFolProgress_Dlg::ButtonCancelClick);
    connect(m_poll, &QTimer::timeout, this, &TFolProgress_Dlg::refresh);
}

// The runner, a child, is deleted with the dialog; it waits for a loop still running.
TFolProgress_Dlg::~TFolProgress_Dlg() = default;

void TFolProgress_Dlg::setBatch(BatchLoop* loop)
{
    m_loop = loop;
}

void TFolProgress_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_runner || !m_loop)
        return;
    m_runner = new JobRunner(*m_loop, nullptr, this);
    connect(m_runner, &JobRunner::finished, this, &TFolProgress_Dlg::batchFinished);
    m_running = true;
    m_runner->start();
    m_poll->start(kPollMs);
}

void TFolProgress_Dlg::refresh()
{
    if (!m_loop)
        return;
    const BatchLabels labels = m_loop->labels();
    if (labels.serial == m_serial)
        return;
    m_serial = labels.serial;
    LabelAction->setText(labels.action);
    LabelListNames->setText(labels.listNames);
    LabelProgressMeter->setText(Prompter::displayText(labels.progressText));
    LabelItemMeter->setText(Prompter::displayText(labels.itemText));
    ProgressMeter->setValue(labels.overall);
    ItemMeter->setValue(labels.item);
}

void TFolProgress_Dlg::batchFinished()
{
    m_poll->stop();
    refresh();
    m_running = false;
    // A failed batch closes the dialog without a message; otherwise the "done" step ends the
    // modal loop with Cancel.
    if (m_loop->end() == BatchEnd::Failed)
        close();
    else
        done(QDialog::Rejected);
}

void TFolProgress_Dlg::ButtonCancelClick()
{
    ButtonCancel->setEnabled(false);
    ButtonCancel->setText(QStringLiteral("Wait..."));
    if (m_running)
        m_runner->cancel();
    else
        done(QDialog::Rejected);
}

void TFolProgress_Dlg::reject()
{
    if (m_running)
        ButtonCancelClick();
    else
        QDialog::reject();
}

BatchEnd RunBatchDialog(QWidget* owner, const QString& action, OperationCode code, const QStringList& work,
                        const ConfirmResults& options, bool showItemMeter)
{
    BatchLoop loop(code, work, options);
    QPointer<TFolProgress_Dlg> dialog = new TFolProgress_Dlg(owner);
    dialog->LabelAction->setText(action);
    dialog->LabelListNames->setText(FileCountText(work.size()));
    dialog->LabelProgressMeter->clear();
    dialog->LabelItemMeter->clear();
    dialog->ProgressMeter->setValue(0);
    dialog->ItemMeter->setValue(0);
    dialog->ItemMeter->setVisible(showItemMeter);
    dialog->setBatch(&loop);
    dialog->exec();
    delete dialog;
    return loop.isFinished() ? loop.end() : BatchEnd::Cancelled;
}
