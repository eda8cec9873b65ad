#pragma once
// Asks for the target of a batch action with the confirmation dialog: proposes a path, tells
// what the action applies to (the work list's count, or the selected file), and returns the
// confirmed path, empty after Cancel. The dialog's results land in results either way.

#include "fileops/BatchActions.h"
#include "fileops/ConfirmActions.h"

#include <QStringList>

class QWidget;

struct ActionTargetRequest {
    OperationCode action = opZip; // the dialog's heading and controls
    QString proposedPath; // the tree's folder with a trailing "/"
    QStringList workList;
    QString selectedFile; // the file list's selected item, empty when none
    QString settingsPath; // the settings tree with the recent extensions
};

QString AskActionTarget(QWidget* owner, const ActionTargetRequest& request, ConfirmResults& results);
