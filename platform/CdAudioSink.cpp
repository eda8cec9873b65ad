#include "platform/CdAudioSink.h"

namespace {

std::function<std::unique_ptr<CdAudioSink>()>& factory()
{
    static std::function<std::unique_ptr<CdAudioSink>()> make;
    return make;
}

} // namespace

CdAudioSink::~CdAudioSink() = default;

std::unique_ptr<CdAudioSink> CdAudioSink::create()
{
    return factory() ? factory()() : nullptr;
}

void CdAudioSink::setFactory(std::function<std::unique_ptr<CdAudioSink>()> make)
{
    factory() = std::move(make);
}
