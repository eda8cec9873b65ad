#include "media/TWMAData.h"

#include "media/AsfHeader.h"
#include "media/AudioSource.h"
#include "media/DurationText.h"

#include <QFileInfo>

namespace media {

namespace {

QString shortText(const QString& text)
{
    return text.left(TWMAData::ShortTextLimit);
}

// The attributes the header's fixed objects stand for, ahead of the named ones.
QList<AsfAttribute> attributesOf(const AsfHeader& header)
{
    QList<AsfAttribute> attributes;
    const auto addText = [&](const char* name, const QString& text) {
        AsfAttribute attribute;
        attribute.name = QString::fromLatin1(name);
        for (const QChar c : text) {
            attribute.value.append(char(c.unicode() & 0xFF));
            attribute.value.append(char(c.unicode() >> 8));
        }
        attributes.append(attribute);
    };
    const auto addNumber = [&](const char* name, AsfAttribute::Type type, uint64_t value) {
        AsfAttribute attribute;
        attribute.name = QString::fromLatin1(name);
        attribute.type = type;
        for (int i = 0; i < (type == AsfAttribute::QWord ? 8 : 4); ++i)
            attribute.value.append(char(value >> (8 * i)));
        attributes.append(attribute);
    };
    addText("Title", header.title);
    addText("Author", header.author);
    addText("Copyright", header.copyright);
    addText("Description", header.description);
    if (header.hasFileProperties) {
        addNumber("FileSize", AsfAttribute::QWord, header.fileSize);
        addNumber("Duration", AsfAttribute::QWord, header.durationWithoutPreroll());
        addNumber("Bitrate", AsfAttribute::DWord, header.maxBitrate);
    }
    return attributes + header.attributes;
}

} // namespace

void TWMAData::ResetData()
{
    *this = TWMAData();
}

QString TWMAData::DurationText() const
{
    return formatDurationText(m_tags.Duration / 1000.0);
}

bool TWMAData::ReadFromFile(const QString& fileName)
{
    if (!QFileInfo::exists(fileName)) {
        m_error = QStringLiteral("The file\r\n%1\r\ndoes'nt exists!").arg(fileName);
        return false;
    }
    ResetData();
    AudioSource source;
    if (!source.openFile(fileName)) {
        m_error = QStringLiteral("Could not load the WMA Tag");
        return false;
    }
    return read(source);
}

bool TWMAData::read(AudioSource& source)
{
    ResetData();
    AsfHeader header;
    if (!header.read(source)) {
        m_error = QStringLiteral("Could not load the WMA Tag");
        return false;
    }
    const std::pair<const char*, QString*> shortTexts[] = {
        {"WM/ENCODEDBY", &m_tags.EncodedBy}, {"WMFSDKVERSION", &m_tags.SDKVersion},
        {"WM/GENRE", &m_tags.Genre}, {"AUTHOR", &m_tags.Author}, {"TITLE", &m_tags.Title},
        {"WM/ALBUMTITLE", &m_tags.AlbumTitle}, {"WM/COMPOSER", &m_tags.Composer},
        {"WM/URL", &m_tags.URL}, {"WM/YEAR", &m_tags.Year},
        {"WM/TRACKNUMBER", &m_tags.TrackNumber}, {"COPYRIGHT", &m_tags.Copyright},
    };
    for (const AsfAttribute& attribute : attributesOf(header)) {
        const QString name = attribute.name.toUpper();
        if (attribute.type == AsfAttribute::Text) {
            for (const auto& [wanted, target] : shortTexts) {
                if (name == QLatin1String(wanted))
                    *target = shortText(attribute.text());
            }
            if (name == QLatin1String("DESCRIPTION"))
                m_tags.Description = attribute.text();
            else if (name == QLatin1String("WM/LYRICS"))
                m_tags.Lyrics = attribute.text();
        } else if (name == QLatin1String("WM/TRACKNUMBER") && attribute.type == AsfAttribute::DWord) {
            // Most rippers store the track as a number rather than as text.
            m_tags.TrackNumber = QString::number(attribute.number());
        } else if (name == QLatin1String("ISVBR") && attribute.type == AsfAttribute::Bool) {
            m_tags.IsVBR = attribute.number() != 0;
        } else if (name == QLatin1String("BITRATE") && attribute.type == AsfAttribute::DWord) {
            m_tags.Bitrate = uint32_t(attribute.number());
        } else if (name == QLatin1String("FILESIZE") && attribute.type == AsfAttribute::QWord) {
            m_tags.FileSize = int64_t(attribute.number());
        } else if (name == QLatin1String("DURATION") && attribute.type == AsfAttribute::QWord) {
            m_tags.Duration = int64_t(attribute.number() / 10000);
        }
    }
    // A header written while streaming leaves the size at 0; the file knows it.
    if (m_tags.FileSize <= 0)
        m_tags.FileSize = source.size();
    return true;
}

} // namespace media
