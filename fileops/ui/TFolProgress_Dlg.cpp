#include "fileops/ui/TFolProgress_Dlg.h"

#include "platform/Prompter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

TFolProgress_Dlg::TFolProgress_Dlg(QWidget* parent) : QDialog(parent)
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
}

void TFolProgress_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_activated || !m_onActivate)
        return;
    m_activated = true;
    // After the window has painted: the batch runs inside the modal loop.
    QTimer::singleShot(0, this, [this] {
        m_running = true;
        m_onActivate();
        m_running = false;
    });
}

void TFolProgress_Dlg::ButtonCancelClick()
{
    ButtonCancel->setEnabled(false);
    ButtonCancel->setText(QStringLiteral("Wait..."));
    m_cancelled = true;
    if (!m_running)
        done(QDialog::Rejected);
}

void TFolProgress_Dlg::reject()
{
    if (m_running)
        ButtonCancelClick();
    else
        QDialog::reject();
}

void TFolProgress_Dlg::postDone()
{
    QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
}

void TFolProgress_Dlg::postClose()
{
    QMetaObject::invokeMethod(this, &QDialog::close, Qt::QueuedConnection);
}

void TFolProgress_Dlg::setAction(const QString& text)
{
    LabelAction->setText(text);
}

void TFolProgress_Dlg::setListNames(const QString& text)
{
    LabelListNames->setText(text);
}

void TFolProgress_Dlg::setProgressText(const QString& text)
{
    LabelProgressMeter->setText(Prompter::displayText(text));
}

void TFolProgress_Dlg::setItemText(const QString& text)
{
    LabelItemMeter->setText(Prompter::displayText(text));
}

void TFolProgress_Dlg::setOverall(int percent)
{
    ProgressMeter->setValue(percent);
}

void TFolProgress_Dlg::processEvents()
{
    QCoreApplication::processEvents();
}

BatchEnd RunBatchDialog(QWidget* owner, const QString& action, OperationCode code, const QStringList& work,
                        const ConfirmResults& options, bool showItemMeter)
{
    BatchEnd end = BatchEnd::Failed;
    QPointer<TFolProgress_Dlg> dialog = new TFolProgress_Dlg(owner);
    dialog->LabelAction->setText(action);
    dialog->LabelListNames->setText(FileCountText(work.size()));
    dialog->LabelProgressMeter->clear();
    dialog->LabelItemMeter->clear();
    dialog->ProgressMeter->setValue(0);
    dialog->ItemMeter->setValue(0);
    dialog->ItemMeter->setVisible(showItemMeter);
    TFolProgress_Dlg* raw = dialog;
    dialog->setOnActivate([&end, raw, code, &work, &options] {
        end = ConvertFilesShow(*raw, code, work, options);
        if (end == BatchEnd::Failed)
            raw->postClose();
        else
            raw->postDone();
    });
    dialog->exec();
    delete dialog;
    return end;
}
