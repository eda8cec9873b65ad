#pragma once
// `fvtool image FILE [--scale 1|2|4|8]` for a JPEG file, run by the launcher without Qt: the
// decoding of the image viewer (JpegReader) and the output of the image command of the Qt
// programs (tools/commands/Image.cpp), "WIDTHxHEIGHT jpeg".

#include <optional>

namespace fvtool {

// The exit status when the command line is that command and FILE a regular file that starts
// as a JPEG; nothing otherwise (another command, a usage error, a file that cannot be opened
// or is of another kind), for the Qt program to run it and give its own messages.
std::optional<int> runJpegImage(int argc, char** argv);

} // namespace fvtool
