#include "JpegImage.h"

#include "viewers/image/JpegReader.h"

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fvtool {

namespace {

// The largest picture file read, as PictureFile::MaxFileSize: a larger one gets the Qt
// program's refusal.
constexpr off_t kMaxFileSize = off_t(1) << 30;
constexpr unsigned char kJpegStart[3] = {0xFF, 0xD8, 0xFF};

// 0 to 3 for 1:1 to 1:8, from "image FILE" or "image FILE --scale N"; -1 for any other line.
int scaleIndexOf(int argc, char** argv)
{
    if (argc < 3 || std::strcmp(argv[1], "image") != 0)
        return -1;
    if (argc == 3)
        return 0;
    if (argc != 5 || std::strcmp(argv[3], "--scale") != 0)
        return -1;
    const char* const scales[] = {"1", "2", "4", "8"};
    for (int index = 0; index < 4; ++index) {
        if (std::strcmp(argv[4], scales[index]) == 0)
            return index;
    }
    return -1;
}

int decodeAndPrint(int fd, int scaleIndex)
{
    RawPicture picture;
    const std::string failure = JpegReader::decode(fd, kJpegStart, sizeof kJpegStart, scaleIndex, picture);
    if (!failure.empty()) {
        std::fprintf(stderr, "%s\n", failure.c_str());
        return 1;
    }
    std::printf("%dx%d jpeg\n", picture.uprightWidth(), picture.uprightHeight());
    return 0;
}

} // namespace

std::optional<int> runJpegImage(int argc, char** argv)
{
    const int scaleIndex = scaleIndexOf(argc, argv);
    if (scaleIndex < 0)
        return std::nullopt;
    // As the Qt program reads a picture file: a FIFO or a device is not even opened (one
    // would block, the other may act on being opened), and the open file is checked again.
    struct stat st {};
    if (::stat(argv[2], &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxFileSize)
        return std::nullopt;
    const int fd = ::open(argv[2], O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    unsigned char head[sizeof kJpegStart] = {};
    std::optional<int> status;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize && ::pread(fd, head, sizeof head, 0) == ssize_t(sizeof head)
        && std::memcmp(head, kJpegStart, sizeof head) == 0)
        status = decodeAndPrint(fd, scaleIndex);
    ::close(fd);
    return status;
}

} // namespace fvtool
