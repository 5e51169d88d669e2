#pragma once

#include "calling/AudioFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>

/// Builds RIFF/WAVE images in the clips' own layout: a 16-byte format chunk
/// (linear PCM), an optional LIST/INFO chunk, then the data.
class WaveWriter
{
public:
    /// One INFO entry: a four-letter id ("INAM", "ICMT", "ISFT", ...) and its text.
    using InfoItem = QPair<QByteArray, QByteArray>;

    static QByteArray image(const AudioFormat &format, QByteArrayView samples,
                            const QList<InfoItem> &info = {});
};
