#include "browse/OwnDrag.h"

#include <QCoreApplication>
#include <QMimeData>

namespace {

const QString kFormat = QStringLiteral("application/x-folvane3-drag-process");

QByteArray processKey()
{
    return QByteArray::number(QCoreApplication::applicationPid());
}

} // namespace

void OwnDrag::mark(QMimeData* data)
{
    data->setData(kFormat, processKey());
}

bool OwnDrag::isOwn(const QMimeData* data)
{
    return data && data->hasFormat(kFormat) && data->data(kFormat) == processKey();
}
