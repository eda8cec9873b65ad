#include "media/mpris/MprisPlayerAdaptor.h"

#include "media/mpris/MprisService.h"

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
    connect(service, &MprisService::seeked, this, &MprisPlayerAdaptor::Seeked);
}

QVariant MprisPlayerAdaptor::value(const char* property) const
{
    return m_service->playerProperties().value(QLatin1String(property));
}

void MprisPlayerAdaptor::setVolume(double volume)
{
    m_service->setVolume(volume);
}

qlonglong MprisPlayerAdaptor::position() const
{
    return m_service->positionUs();
}

void MprisPlayerAdaptor::PlayPause()
{
    m_service->playPause();
}

void MprisPlayerAdaptor::Play()
{
    m_service->play();
}

void MprisPlayerAdaptor::Pause()
{
    m_service->pause();
}

void MprisPlayerAdaptor::Stop()
{
    m_service->stop();
}

void MprisPlayerAdaptor::Next()
{
    m_service->next();
}

void MprisPlayerAdaptor::Previous()
{
    m_service->previous();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    m_service->seekBy(offset);
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    m_service->setPosition(trackId, position);
}

void MprisPlayerAdaptor::OpenUri(const QString&)
{
    // No URI schemes are offered (SupportedUriSchemes is empty): the playlist is built from
    // the window's file list.
}
