#pragma once
// The text form of the per-user settings tree. The file reads like this:
//
//   ; Folvane III settings
//   [Software\QuorVel\Folvane3\Settings]
//   "ShowHiddenSystemfiles"=dword:1
//   "AppLeft"=dword:-4
//   "FVVersionStr"="V0.00 Sat Mar 01, 2008"
//   [Software\QuorVel\Folvane3\Settings\Coolbars]
//   "0"=hex:46,56,42,01
//
// Every value carries its type (dword, string, hex bytes), so a value written as one type
// reads back as that type. A dword is written as a signed decimal number; a hand-edited
// file may also give it unsigned or as 0x and hex digits. Strings and value names are quoted; backslash escapes \\ \" \n
// \r \t and \xHH stand for the characters that cannot appear literally. A key with no values
// is still written, so empty keys survive a round trip.
//
// The file comes from disk and may have been edited by hand or damaged: the parser checks
// every length and character, limits the size of the file and the depth of keys, and stops
// at the first fault with the line number and what was expected.

#include "platform/RegistryNode.h"
#include "platform/Status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class RegistryFile {
public:
    static constexpr qsizetype kMaxFileSize = 16 * 1024 * 1024;
    static constexpr qsizetype kMaxKeyDepth = 32;

    // Fills root from the file's bytes. On a fault root is left empty and the failure says
    // where and what ("line 4: ...").
    static Status parse(const QByteArray& bytes, RegistryNode& root);

    static QByteArray serialize(const RegistryNode& root);

    // Splits "A\B\C\" into its key names; leading and trailing backslashes are ignored.
    // nullopt when the path is empty, too deep, or a name is empty or holds a character a
    // key name cannot hold (control characters, '[' and ']', surrounding blanks).
    static std::optional<QStringList> splitKeyPath(const QString& path);
};
