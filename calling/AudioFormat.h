#pragma once

#include <QString>

/// The shape of a stream of linear PCM samples: what a clip holds and what a
/// sound device is opened with.
struct AudioFormat
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }

    /// "24000 Hz, mono, 16 bits", for messages.
    QString description() const;

    friend bool operator==(const AudioFormat &, const AudioFormat &) = default;
};
