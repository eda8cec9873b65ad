#include "platform/ui/TransferProgressDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 50;

QString captionOf(FileOperationKind kind)
{
    switch (kind) {
    case FileOperationKind::Copy: return QStringLiteral("Copying...");
    case FileOperationKind::Move: return QStringLiteral("Moving...");
    case FileOperationKind::Delete: return QStringLiteral("Deleting...");
    case FileOperationKind::Rename: return QStringLiteral("Renaming...");
    }
    return QString();
}

} // namespace

TransferProgressDialog::TransferProgressDialog(TransferJob& job, QWidget* parent)
    : QDialog(parent), m_job(job), m_item(new QLabel(this)), m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("TFolProgress_Dlg"));
    setWindowTitle(captionOf(job.kind()));
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
    refresh();
}

void TransferProgressDialog::refresh()
{
    if (m_job.isFinished()) {
        accept();
        return;
    }
    const bool byBytes = m_job.totalBytes() > 0;
    const double total = double(byBytes ? m_job.totalBytes() : m_job.totalItems());
    const double done = double(byBytes ? m_job.doneBytes() : m_job.doneItems());
    m_bar->setValue(total > 0 ? int(1000.0 * std::min(done, total) / total) : 0);
    const QString item = m_item->fontMetrics().elidedText(m_job.currentItem(), Qt::ElideMiddle, m_item->width());
    if (m_cancel->isEnabled())
        m_item->setText(item);
}

void TransferProgressDialog::reject()
{
    m_job.cancel();
    m_cancel->setEnabled(false);
    m_item->setText(QStringLiteral("Cancelling..."));
}

void DialogTransferRunner::run(TransferJob& job, bool showProgress)
{
    // Until the window shows, the program takes no input: the call is synchronous for it.
    QEventLoop loop;
    QPointer<TransferProgressDialog> dialog;
    job.setOnFinished([&loop, &dialog] {
        QMetaObject::invokeMethod(&loop, [&loop, &dialog] {
            loop.quit();
            if (dialog)
                dialog->refresh();
        }, Qt::QueuedConnection);
    });
    runOnWorker(job, [&] {
        if (showProgress)
            QTimer::singleShot(kShowDelayMs, &loop, &QEventLoop::quit);
        if (!job.isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (job.isFinished())
            return;
        TransferProgressDialog window(job, QApplication::activeWindow());
        dialog = &window;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &window, &TransferProgressDialog::refresh);
        poll.start(kPollMs);
        window.exec();
        dialog = nullptr;
    });
}
