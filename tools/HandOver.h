#pragma once
// The fvtool programs hand a command line over to one another (see tools/CMakeLists.txt):
// the launcher to fvtool-light or fvtool-full, fvtool-light to fvtool-full. Plain C++, for
// the launcher, which runs without Qt.

#include <string>

namespace fvtool {

// Runs program from the folder of this program in place of this process, with the same
// arguments, so that its exit status and output are the command's. Returns only when it
// cannot be run, with why: "fvtool: cannot run PATH: REASON".
std::string handOver(const char* program, char** argv);

} // namespace fvtool
