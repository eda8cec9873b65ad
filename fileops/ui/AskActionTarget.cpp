#include "fileops/ui/AskActionTarget.h"

#include "fileops/ui/TConfrim_Dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>

QString AskActionTarget(QWidget* owner, const ActionTargetRequest& request, ConfirmResults& results)
{
    QPointer<TConfrim_Dlg> dialog = new TConfrim_Dlg(request.action, results, request.settingsPath, owner);
    dialog->EditToPathFile->setText(request.proposedPath);
    dialog->LabelActionFiles->clear();
    if (!BatchActionOf(request.action).onTreeFolder) {
        if (request.workList.size() >= 2)
            dialog->LabelActionFiles->setText(QString::number(request.workList.size()) + QStringLiteral(" files selected"));
        else
            dialog->LabelActionFiles->setText(request.selectedFile);
        dialog->LabelSelFile->setText(request.selectedFile);
    }
    const bool yes = dialog->exec() == QDialog::Accepted;
    delete dialog;
    return yes ? results.target : QString();
}
