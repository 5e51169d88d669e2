#pragma once

#include "calling/AudioFormat.h"

#include <QByteArrayView>
#include <QString>

/// Where an announcement's samples go: one stream per announcement, opened in
/// the clips' format, fed clip after clip with nothing in between, then closed.
class AudioSink
{
public:
    virtual ~AudioSink();

    /// Starts a stream. Returns false, with errorString() saying why, when there
    /// is no device to play on; the announcement is then skipped.
    virtual bool open(const AudioFormat &format) = 0;
    /// Appends one clip's samples to the stream, right behind the ones before.
    /// May block while the device is full.
    virtual void write(const QString &clipName, QByteArrayView samples) = 0;
    /// Returns once every sample written has been played, and ends the stream.
    /// Does nothing when no stream is open.
    virtual void close() = 0;
    /// Ends the stream of an announcement that failed part-way. A device has
    /// played what it was given and finishes it as close() does; a file sink
    /// writes nothing.
    virtual void abort() { close(); }

    /// Why the last open() failed.
    virtual QString errorString() const = 0;
};
