#include "platform/ui/PlatformUi.h"

#include "platform/ui/TransferProgressDialog.h"

#ifdef FOLVANE_HAVE_MULTIMEDIA
#include "platform/media/QtMediaPlayer.h"
#endif

void InstallPlatformUi()
{
    static DialogTransferRunner runner;
    TransferRunner::setInstance(&runner);
#ifdef FOLVANE_HAVE_MULTIMEDIA
    QtMediaPlayer::install();
#endif
}
