#pragma once

#include "calling/AudioSink.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

/// Keeps what an announcement played, for tests and measurements: the format,
/// the clip names in order and the samples of the whole stream. It can also
/// play a device that cannot be opened.
class RecordingSink : public AudioSink
{
public:
    struct Stream
    {
        AudioFormat format;
        QStringList clips;
        QByteArray samples;
        bool closed = false;
    };

    /// When false, every open() fails as a missing sound device does.
    void setAvailable(bool available) { m_available = available; }

    bool open(const AudioFormat &format) override;
    void write(const QString &clipName, QByteArrayView samples) override;
    void close() override;
    QString errorString() const override;

    /// One entry per open(), the last one last.
    const QList<Stream> &streams() const { return m_streams; }
    int openAttempts() const { return m_openAttempts; }

private:
    QList<Stream> m_streams;
    int m_openAttempts = 0;
    bool m_available = true;
    bool m_open = false;
};
