#pragma once
// The program's Pickers: Qt's file dialogs over the active window.

#include "platform/Pickers.h"

class DialogPickers final : public Pickers {
public:
    QString pickFolder(const QString& caption, const QString& startFolder) override;
    QString openFile(const QString& caption, const QString& folder, const QString& filter) override;
    QStringList openFiles(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& suggestedPath, const QString& filter) override;
};
