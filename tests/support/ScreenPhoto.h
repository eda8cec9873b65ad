#pragma once
// For the programs that photograph dialogs under Xvfb (not tests): saves the whole screen
// as folder/name and says where it went.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

#include <cstdio>

inline void photographScreen(const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("wrote %s\n", qPrintable(path));
}
