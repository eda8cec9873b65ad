#include "platform/media/QtCdAudioSink.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

QtCdAudioSink::QtCdAudioSink()
{
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    m_sink = new QAudioSink(QMediaDevices::defaultAudioOutput(), format);
}

QtCdAudioSink::~QtCdAudioSink()
{
    post([](QAudioSink* sink, std::shared_ptr<QIODevice>& source) {
        sink->stop();
        source.reset();
        sink->deleteLater();
    });
}

void QtCdAudioSink::post(std::function<void(QAudioSink*, std::shared_ptr<QIODevice>&)> step)
{
    QMetaObject::invokeMethod(m_sink, [sink = m_sink, source = m_source, step = std::move(step)] {
        if (sink)
            step(sink, *source);
    });
}

void QtCdAudioSink::start(std::shared_ptr<QIODevice> source)
{
    post([source](QAudioSink* sink, std::shared_ptr<QIODevice>& current) {
        sink->stop();
        current = source;
        sink->start(current.get());
    });
}

void QtCdAudioSink::stop()
{
    post([](QAudioSink* sink, std::shared_ptr<QIODevice>& current) {
        sink->stop();
        current.reset();
    });
}

void QtCdAudioSink::suspend()
{
    post([](QAudioSink* sink, std::shared_ptr<QIODevice>&) { sink->suspend(); });
}

void QtCdAudioSink::resume()
{
    post([](QAudioSink* sink, std::shared_ptr<QIODevice>&) { sink->resume(); });
}

void QtCdAudioSink::install()
{
    CdAudioSink::setFactory([] { return std::make_unique<QtCdAudioSink>(); });
}
