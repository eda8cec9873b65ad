#include "app/AppSettings.h"

QStringList AppSettings::builtInMasks()
{
    return {
        QStringLiteral("*.*"),   QStringLiteral("*.asc"), QStringLiteral("*.asm"), QStringLiteral("*.avi"),
        QStringLiteral("*.bak"), QStringLiteral("*.bat"), QStringLiteral("*.bk!"), QStringLiteral("*.bmp"),
        QStringLiteral("*.c"),   QStringLiteral("*.cc"),  QStringLiteral("*.cfg"), QStringLiteral("*.com"),
        QStringLiteral("*.cpp"), QStringLiteral("*.dcu"), QStringLiteral("*.exe"), QStringLiteral("*.gif"),
        QStringLiteral("*.h"),   QStringLiteral("*.hlp"), QStringLiteral("*.ico"), QStringLiteral("*.inf"),
        QStringLiteral("*.jpg"), QStringLiteral("*.log"), QStringLiteral("*.lzh"), QStringLiteral("*.mp3"),
        QStringLiteral("*.mpg"), QStringLiteral("*.pas"), QStringLiteral("*.prn"), QStringLiteral("*.res"),
        QStringLiteral("*.rtf"), QStringLiteral("*.sys"), QStringLiteral("*.tif"), QStringLiteral("*.tmp"),
        QStringLiteral("*.txt"), QStringLiteral("*.wav"), QStringLiteral("*.wmf"), QStringLiteral("*.wmv"),
        QStringLiteral("*.xls"), QStringLiteral("*.zip"),
    };
}
