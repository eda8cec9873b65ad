#include "platform/ui/TransferProgressDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TransferProgressDialog::TransferProgressDialog(JobRunner& runner, const QString& title, QWidget* parent)
    : QDialog(parent), m_runner(runner), m_item(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this)), m_poll(new QTimer(this))
{
    setObjectName(QStringLiteral("TFolProgress_Dlg"));
    setWindowTitle(title);
    setModal(true);
    m_item->setObjectName(QStringLiteral("LabelItem"));
    m_item->setMinimumWidth(420);
    m_item->setTextFormat(Qt::PlainText);
    m_bar->setObjectName(QStringLiteral("ProgressBar"));
    m_bar->setRange(0, 1000);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    connect(m_cancel, &QPushButton::clicked, this, &TransferProgressDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_item);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    connect(m_poll, &QTimer::timeout, this, &TransferProgressDialog::refresh);
    connect(&m_runner, &JobRunner::finished, this, &TransferProgressDialog::refresh);
    m_poll->start(kPollMs);
    refresh();
}

void TransferProgressDialog::refresh()
{
    if (m_runner.isFinished()) {
        accept(); // also before exec() starts: the next tick closes the window then
        return;
    }
    const JobProgress progress = m_runner.progress();
    const bool byBytes = progress.totalBytes > 0;
    const double total = double(byBytes ? progress.totalBytes : progress.totalItems);
    const double done = double(byBytes ? progress.doneBytes : progress.doneItems);
    m_bar->setValue(total > 0 ? int(1000.0 * std::min(done, total) / total) : 0);
    const QString item = m_item->fontMetrics().elidedText(progress.currentItem, Qt::ElideMiddle, m_item->width());
    if (m_cancel->isEnabled())
        m_item->setText(item);
}

void TransferProgressDialog::reject()
{
    m_runner.cancel();
    m_cancel->setEnabled(false);
    m_item->setText(QStringLiteral("Cancelling..."));
}
