#include "media/TagLibReader.h"

#include "media/DurationText.h"
#include "media/TWAVFile.h"
#include "platform/FileName.h"

#ifdef FOLVANE_HAVE_TAGLIB
#include <taglib/fileref.h>
#include <taglib/tag.h>
#endif

namespace media {

namespace {

#ifdef FOLVANE_HAVE_TAGLIB
QString text(const TagLib::String& value)
{
    return QString::fromStdString(value.to8Bit(true)).trimmed();
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
    const QByteArray name = FileName::encode(info.path);
    TagLib::FileRef file(name.constData(), true, TagLib::AudioProperties::Average);
    if (file.isNull() || !file.audioProperties()) {
        reason = QStringLiteral("not an audio file of its kind");
        return false;
    }
    if (const TagLib::Tag* tag = file.tag()) {
        if (const QString title = text(tag->title()); !title.isEmpty())
            info.title = title;
        info.artist = text(tag->artist());
        info.album = text(tag->album());
        info.year = tag->year() ? QString::number(tag->year()) : QString();
        info.genre = text(tag->genre());
        info.track = tag->track() ? QStringLiteral("%1").arg(tag->track(), 2, 10, QLatin1Char('0')) : QString();
    }
    const TagLib::AudioProperties* audio = file.audioProperties();
    const double seconds = audio->lengthInMilliseconds() / 1000.0;
    info.bitrate = audio->bitrate() > 0 ? QString::number(audio->bitrate()) : QString();
    info.sampleRate = QString::number(audio->sampleRate());
    info.channelMode = channelModeName(audio->channels());
    info.length = formatDurationText(seconds);
    info.seconds = QString::number(audio->lengthInMilliseconds() / 1000);
    return true;
#else
    // Without TagLib the file is listed by its name and size, as a file of any other kind.
    Q_UNUSED(info);
    Q_UNUSED(reason);
    return true;
#endif
}

} // namespace media
