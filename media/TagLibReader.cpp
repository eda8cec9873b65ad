#include "media/TagLibReader.h"

#include "media/DurationText.h"
#include "media/TWAVFile.h"
#include "platform/FileName.h"

#ifdef FOLVANE_HAVE_TAGLIB
#include "media/TagLibFacts.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>
#endif

namespace media {

namespace {

#ifdef FOLVANE_HAVE_TAGLIB
QString text(const std::string& value)
{
    return QString::fromStdString(value).trimmed();
}

// The folder the running program lies in, by its resolved path.
std::string programFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || length == ssize_t(sizeof path))
        return std::string();
    const std::string program(path, size_t(length));
    return program.substr(0, program.rfind('/'));
}

// The module's function, loaded once, on the first file of its kinds: from beside the
// program, by absolute path (never through a search path). Tests run from their own folder
// of the build tree and find it in the build's program folder.
TagLibReadFunction tagLibModule()
{
    static const TagLibReadFunction function = []() -> TagLibReadFunction {
        for (const std::string& folder : {programFolder(), std::string(FOLVANE_TAGLIB_MODULE_BUILD_DIR)}) {
            if (folder.empty())
                continue;
            const std::string path = folder + '/' + kTagLibModuleName;
            if (void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
                return reinterpret_cast<TagLibReadFunction>(::dlsym(module, kTagLibReadSymbol));
        }
        return nullptr;
    }();
    return function;
}
#endif

} // namespace

bool TagLibReader::reads(const QString& suffix)
{
    return suffix == QLatin1String("ogg") || suffix == QLatin1String("opus") || suffix == QLatin1String("flac")
        || suffix == QLatin1String("m4a");
}

bool TagLibReader::read(AudioInfo& info, QString& reason)
{
#ifdef FOLVANE_HAVE_TAGLIB
    const TagLibReadFunction readFacts = tagLibModule();
    // Without its module the file is listed by its name and size, as in a build without TagLib.
    if (!readFacts)
        return true;
    TagLibFacts facts;
    if (!readFacts(FileName::encode(info.path).constData(), &facts)) {
        reason = QStringLiteral("not an audio file of its kind");
        return false;
    }
    if (facts.tagged) {
        if (const QString title = text(facts.title); !title.isEmpty())
            info.title = title;
        info.artist = text(facts.artist);
        info.album = text(facts.album);
        info.year = facts.year ? QString::number(facts.year) : QString();
        info.genre = text(facts.genre);
        info.track = facts.track ? QStringLiteral("%1").arg(facts.track, 2, 10, QLatin1Char('0')) : QString();
    }
    info.bitrate = facts.bitrate > 0 ? QString::number(facts.bitrate) : QString();
    info.sampleRate = QString::number(facts.sampleRate);
    info.channelMode = channelModeName(facts.channels);
    info.length = formatDurationText(facts.lengthMs / 1000.0);
    info.seconds = QString::number(facts.lengthMs / 1000);
    return true;
#else
    // Without TagLib the file is listed by its name and size, as a file of any other kind.
    Q_UNUSED(info);
    Q_UNUSED(reason);
    return true;
#endif
}

} // namespace media
