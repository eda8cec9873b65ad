#include "platform/linux/RunnableProgram.h"

#include <QFile>
#include <QFileInfo>

bool IsRunnableProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    return head == "\x7f" "ELF" || head.startsWith("#!");
}
