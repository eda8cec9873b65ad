#pragma once
// Registers the batch loop's zip branches: Zip, Unzip, Zip to EXE and Zip Fix.

void RegisterZipBranches();
