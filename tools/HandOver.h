#pragma once
// fvtool holds the light commands only; the others live in fvtool-full beside it (see
// tools/CMakeLists.txt).

namespace fvtool {

// Runs fvtool-full from the folder of this program in place of this process, with the same
// arguments, so that its exit status and output are the command's. Returns only when it
// cannot be run, after printing why.
void handOver(char** argv);

} // namespace fvtool
