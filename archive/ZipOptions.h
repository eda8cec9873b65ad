#pragma once
// The engine's option values, as the program sets them on TAbZipKit.

#include <QFlags>

enum class ZipCompressionMethod { Best, Deflated, Stored };
enum class ZipDeflation { Normal, Maximum, Fast, SuperFast };

enum class ZipStoreOption {
    StripDrive = 0x01,
    StripPath = 0x02,
    RemoveDots = 0x04,
    Recurse = 0x08,
    Freshen = 0x10,
    Replace = 0x20,
};
Q_DECLARE_FLAGS(ZipStoreOptions, ZipStoreOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ZipStoreOptions)

enum class ZipExtractOption {
    CreateDirs = 0x01,
    RestorePath = 0x02,
};
Q_DECLARE_FLAGS(ZipExtractOptions, ZipExtractOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(ZipExtractOptions)

// zlib's level for each deflation option.
inline int deflateLevel(ZipDeflation option)
{
    switch (option) {
    case ZipDeflation::Maximum: return 9;
    case ZipDeflation::Fast: return 3;
    case ZipDeflation::SuperFast: return 1;
    case ZipDeflation::Normal: break;
    }
    return 6;
}
