#pragma once

#include "calling/AudioSink.h"

#include <QByteArray>

/// Writes a whole announcement as one WAVE file in the clips' format, its data
/// the clips' samples back to back. The file is written on close(), whole or
/// not at all: an announcement that fails half-way leaves no file behind.
class WavFileSink : public AudioSink
{
public:
    explicit WavFileSink(QString fileName);

    bool open(const AudioFormat &format) override;
    void write(const QString &clipName, QByteArrayView samples) override;
    /// Writes the file; throws StationError when that fails.
    void close() override;
    QString errorString() const override { return {}; }

    void abort() override;

private:
    QString m_fileName;
    AudioFormat m_format;
    QByteArray m_samples;
    bool m_open = false;
};
