#include "archive/tools/TotalSizeJob.h"

#include "platform/FileName.h"

#include <sys/stat.h>

bool TotalSizeJob::plan()
{
    addTotal(m_files.size());
    return true;
}

void TotalSizeJob::execute()
{
    for (const QString& file : m_files) {
        if (stopped())
            return;
        struct stat st {};
        if (::stat(FileName::encode(file).constData(), &st) == 0 && S_ISREG(st.st_mode))
            m_total += st.st_size;
        itemDone();
    }
}
