#pragma once
// A file name edited in place, in the list or the tree. The editor shows the name's display
// form (each byte that is not UTF-8 as U+FFFD), which cannot be turned back into bytes; the
// name the user meant is the edited text with the old name's own bytes kept wherever the text
// was left as it was. So renaming "photo<FF>.jpeg" to "photo<FF>.jpg" keeps the byte 0xFF.

#include <QString>

namespace NameEdit {

// The text the editor starts with.
QString shown(const QString& name);

// The new name: the part of edited that differs from shown(name) (the longest common start
// and end put aside), between the old name's own start and end. edited unchanged gives name.
QString merged(const QString& name, const QString& edited);

} // namespace NameEdit
