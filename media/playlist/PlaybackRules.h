#pragma once
// The decisions of the audio player and the movie pane that do not depend on a widget: what
// happens when a song ends, what happens when a movie ends (once per loaded movie), and the
// time texts of the position bars.

#include <QString>

namespace media {

enum class SongEndAction { Stop, PlayNext, PlayRandom };

// The song ended by itself (the back end reached the end of the media; a Stop is no end):
// continuous play goes on to the next entry, or to a random one with shuffle on; a playlist
// of one entry plays its song again.
SongEndAction songEndAction(bool continuous, bool shuffle);

enum class MovieEndAction { Repeat, ShowNextFile, Close };

MovieEndAction movieEndAction(bool repeat, bool showNextFile);

// Hands out the end of each loaded movie once: the end may be seen by the position timer and
// by the completion notice, and a second handling would skip a file or restart twice. A movie
// that failed to load has no end at all.
class MovieEndGuard {
public:
    // A movie was loaded and plays (a repeat counts as loading it again).
    void loaded() { m_state = State::Playing; }
    // The movie failed or was closed: no end follows.
    void reset() { m_state = State::Idle; }
    // True the first time after loaded(), false after that and without a movie.
    bool takeEnd();

private:
    enum class State { Idle, Playing, Ended };
    State m_state = State::Idle;
};

// The playlist's time text of a millisecond count: "nn:ss" below an hour, "hh:nn:ss" below a
// day, else "<days> days, hh:nn:ss.z".
QString audioTimeText(qint64 ms);
// The movie bar's label: length and position as "m:ss", joined by "  -  " (length first).
QString movieBarLabel(qint64 lengthMs, qint64 positionMs);
// The volume bar's label: "100%" for 1000.
QString volumeLabel(int volume);

} // namespace media
