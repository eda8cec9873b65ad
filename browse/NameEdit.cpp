#include "browse/NameEdit.h"

#include "platform/FileName.h"

#include <algorithm>

namespace NameEdit {

QString shown(const QString& name)
{
    return FileName::display(name);
}

QString merged(const QString& name, const QString& edited)
{
    // display() replaces one QChar by one, so positions in the shown text are positions in
    // the name.
    const QString before = shown(name);
    const qsizetype limit = std::min(before.size(), edited.size());
    qsizetype head = 0;
    while (head < limit && before[head] == edited[head])
        ++head;
    qsizetype tail = 0;
    while (tail < limit - head && before[before.size() - 1 - tail] == edited[edited.size() - 1 - tail])
        ++tail;
    return name.left(head) + edited.mid(head, edited.size() - head - tail) + name.right(tail);
}

} // namespace NameEdit
