#include "media/mpris/MprisRootAdaptor.h"

#include "media/mpris/MprisService.h"

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
}

void MprisRootAdaptor::Raise()
{
    Q_EMIT m_service->raiseRequested();
}

void MprisRootAdaptor::Quit()
{
    Q_EMIT m_service->quitRequested();
}
