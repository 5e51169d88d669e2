#pragma once

#include "calling/AudioFormat.h"

#include <QByteArray>
#include <QString>

/// One voice clip read from a RIFF/WAVE image: its name, its format and its
/// samples (16-bit little-endian PCM, frames back to back).
struct WaveClip
{
    QString name;
    AudioFormat format;
    QByteArray samples;

    qint64 frameCount() const;
    double seconds() const;

    /// Reads a WAVE image. Chunks other than "fmt " and "data" (LIST/INFO, fact,
    /// cue, ...) are skipped. Throws StationError naming the clip for anything
    /// that is not a sound file in 16-bit linear PCM: a file that is truncated,
    /// not RIFF/WAVE, without a usable format chunk or data, or in another format.
    static WaveClip parse(const QString &name, const QByteArray &image);
};
