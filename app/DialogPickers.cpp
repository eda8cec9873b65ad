#include "app/DialogPickers.h"

#include <QApplication>
#include <QFileDialog>

QString DialogPickers::pickFolder(const QString& caption, const QString& startFolder)
{
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, startFolder);
}

QString DialogPickers::openFile(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}

QStringList DialogPickers::openFiles(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileNames(QApplication::activeWindow(), caption, folder, filter);
}

QString DialogPickers::saveFile(const QString& caption, const QString& suggestedPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggestedPath, filter);
}
