#include "internet/ui/TClean_Up_Dlg.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>

TClean_Up_Dlg::TClean_Up_Dlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("Clean_Up_Dlg"));
    setWindowTitle(QStringLiteral("Cleanup"));
    setToolTip(QStringLiteral("Empty Recycle Bin, Internet cache, Internet History, Temp files, Recent used list"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < kCleanupStepCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(CleanupSteps::texts(CleanupStep(i)).resting), this);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        // The boxes report; the user does not tick them.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(box);
        m_boxes[size_t(i)] = box;
    }
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    // The run goes on whatever is pressed; once it has ended the button closes the window.
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        if (m_cancel->text() == QLatin1String("Close"))
            close();
    });
}

void TClean_Up_Dlg::stepStarted(CleanupStep step)
{
    QCheckBox* box = m_boxes[size_t(step)];
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    box->setText(QString::fromLatin1(CleanupSteps::texts(step).running));
    box->setVisible(true);
}

void TClean_Up_Dlg::stepFinished(CleanupStep step, const Status& outcome)
{
    QCheckBox* box = m_boxes[size_t(step)];
    QFont font = box->font();
    font.setBold(false);
    box->setFont(font);
    if (outcome) {
        box->setChecked(true);
        box->setText(QString::fromLatin1(CleanupSteps::texts(step).done));
        return;
    }
    box->setChecked(false);
    box->setText(QString::fromLatin1(CleanupSteps::texts(step).resting) + QStringLiteral(" - not done"));
    box->setToolTip(outcome.errorString());
    m_cancel->setText(QStringLiteral("Close"));
}
