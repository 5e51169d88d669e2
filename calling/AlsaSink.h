#pragma once

#include "calling/AudioSink.h"

typedef struct _snd_pcm snd_pcm_t;

/// Plays on an ALSA PCM device with blocking writes; close() drains, so it
/// returns when the last sample has been heard. A device that fails while
/// playing is dropped silently for the rest of the stream.
class AlsaSink : public AudioSink
{
public:
    explicit AlsaSink(QString device = QStringLiteral("default"));
    ~AlsaSink() override;
    AlsaSink(const AlsaSink &) = delete;
    AlsaSink &operator=(const AlsaSink &) = delete;

    const QString &device() const { return m_device; }

    bool open(const AudioFormat &format) override;
    void write(const QString &clipName, QByteArrayView samples) override;
    void close() override;
    QString errorString() const override { return m_error; }

    /// The device named by "device=" in the [audio] section of station.ini in
    /// directory, or "default" when there is none.
    static QString configuredDevice(const QString &directory);

private:
    QString m_device;
    QString m_error;
    snd_pcm_t *m_pcm = nullptr;
    int m_frameBytes = 0;
    bool m_failed = false;
};
