#include "media/playlist/PlaybackRules.h"

#include <QTime>

namespace media {

SongEndAction songEndAction(bool continuous, bool shuffle)
{
    if (!continuous)
        return SongEndAction::Stop;
    return shuffle ? SongEndAction::PlayRandom : SongEndAction::PlayNext;
}

MovieEndAction movieEndAction(bool repeat, bool showNextFile)
{
    if (repeat)
        return MovieEndAction::Repeat;
    return showNextFile ? MovieEndAction::ShowNextFile : MovieEndAction::Close;
}

bool MovieEndGuard::takeEnd()
{
    if (m_state != State::Playing)
        return false;
    m_state = State::Ended;
    return true;
}

QString audioTimeText(qint64 ms)
{
    constexpr qint64 kHour = 3600000;
    constexpr qint64 kDay = 24 * kHour;
    ms = qMax<qint64>(0, ms);
    const QTime time = QTime(0, 0).addMSecs(int(ms % kDay));
    if (ms < kHour)
        return time.toString(QStringLiteral("mm:ss"));
    if (ms < kDay)
        return time.toString(QStringLiteral("hh:mm:ss"));
    return QStringLiteral("%1 days, %2").arg(ms / kDay).arg(time.toString(QStringLiteral("hh:mm:ss.z")));
}

QString movieBarLabel(qint64 lengthMs, qint64 positionMs)
{
    const auto text = [](qint64 ms) {
        ms = qMax<qint64>(0, ms);
        return QStringLiteral("%1:%2").arg(ms / 60000).arg((ms / 1000) % 60, 2, 10, QLatin1Char('0'));
    };
    return text(lengthMs) + QStringLiteral("  -  ") + text(positionMs);
}

QString volumeLabel(int volume)
{
    return QString::number(volume / 10) + QLatin1Char('%');
}

} // namespace media
