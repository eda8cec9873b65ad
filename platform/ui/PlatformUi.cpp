#include "platform/ui/PlatformUi.h"

#include "platform/ui/ProgressWindowWaiter.h"

#ifdef FOLVANE_HAVE_MULTIMEDIA
#include "platform/media/QtCdAudioSink.h"
#include "platform/media/QtMediaPlayer.h"
#endif

void InstallPlatformUi()
{
    static ProgressWindowWaiter waiter;
    JobWaiter::setInstance(&waiter);
#ifdef FOLVANE_HAVE_MULTIMEDIA
    QtMediaPlayer::install();
    QtCdAudioSink::install();
#endif
}
