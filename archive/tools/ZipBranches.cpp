#include "archive/tools/ZipBranches.h"

#include "archive/tools/UnzipBranch.h"
#include "archive/tools/ZipAddBranch.h"
#include "archive/tools/ZipFixBranch.h"
#include "archive/tools/ZipToExeBranch.h"

void RegisterZipBranches()
{
    ZipAddBranch::registerBranch();
    UnzipBranch::registerBranch();
    ZipToExeBranch::registerBranch();
    ZipFixBranch::registerBranch();
}
