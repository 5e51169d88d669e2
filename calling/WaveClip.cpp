#include "calling/WaveClip.h"

#include "app/StationError.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

constexpr quint16 formatPcm = 1;
constexpr quint16 formatExtensible = 0xFFFE;

quint16 u16(const char *p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char *p)
{
    return qFromLittleEndian<quint32>(p);
}

[[noreturn]] void damaged(const QString &name, const QString &why)
{
    throw StationError(u"Voice clip %1 cannot be played: %2"_s.arg(name, why));
}

} // namespace

qint64 WaveClip::frameCount() const
{
    const int frameBytes = format.bytesPerFrame();
    return frameBytes > 0 ? samples.size() / frameBytes : 0;
}

double WaveClip::seconds() const
{
    return format.sampleRate > 0 ? double(frameCount()) / format.sampleRate : 0.0;
}

WaveClip WaveClip::parse(const QString &name, const QByteArray &image)
{
    const char *bytes = image.constData();
    const qint64 size = image.size();
    if (size < 12 || image.first(4) != "RIFF" || image.sliced(8, 4) != "WAVE")
        damaged(name, u"it is not a RIFF/WAVE file"_s);
    // A RIFF size beyond the end of the file is how a cut-off copy shows itself;
    // bytes after the RIFF chunk are not part of the sound and are left alone.
    const qint64 riffEnd = 8 + qint64(u32(bytes + 4));
    if (riffEnd > size)
        damaged(name, u"the file is truncated (%1 of %2 bytes)"_s.arg(size).arg(riffEnd));

    WaveClip clip;
    clip.name = name;
    bool haveFormat = false;
    qint64 at = 12;
    while (at + 8 <= riffEnd) {
        const QByteArray id = image.sliced(at, 4);
        const qint64 chunkSize = u32(bytes + at + 4);
        const qint64 body = at + 8;
        if (body + chunkSize > riffEnd)
            damaged(name, u"the file is truncated inside its \"%1\" chunk"_s.arg(QString::fromLatin1(id)));

        if (id == "fmt ") {
            if (chunkSize < 16)
                damaged(name, u"its format chunk is %1 bytes, at least 16 are needed"_s.arg(chunkSize));
            const char *f = bytes + body;
            quint16 tag = u16(f);
            // WAVE_FORMAT_EXTENSIBLE carries the real tag in the first two bytes of its sub-format.
            if (tag == formatExtensible && chunkSize >= 40)
                tag = u16(f + 24);
            if (tag != formatPcm)
                damaged(name, u"its samples are in format %1, not linear PCM"_s.arg(tag));
            clip.format.channels = u16(f + 2);
            clip.format.sampleRate = int(u32(f + 4));
            const quint32 byteRate = u32(f + 8);
            const quint16 blockAlign = u16(f + 12);
            clip.format.bitsPerSample = u16(f + 14);
            if (clip.format.bitsPerSample != 16)
                damaged(name,
                        u"it has %1 bits per sample, only 16 are played"_s.arg(clip.format.bitsPerSample));
            if (clip.format.channels < 1 || clip.format.channels > 2 || clip.format.sampleRate < 1000
                || clip.format.sampleRate > 192000)
                damaged(name,
                        u"its format (%1) is not one a sound device plays"_s.arg(clip.format.description()));
            if (blockAlign != clip.format.bytesPerFrame()
                || byteRate != quint32(clip.format.sampleRate) * blockAlign)
                damaged(name,
                        u"its format chunk contradicts itself (block alignment %1, %2 bytes per second)"_s
                            .arg(blockAlign)
                            .arg(byteRate));
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                damaged(name, u"its data comes before its format chunk"_s);
            if (chunkSize % clip.format.bytesPerFrame() != 0)
                damaged(name, u"its data ends in the middle of a sample"_s);
            clip.samples = image.sliced(body, chunkSize);
            return clip;
        }
        // Chunks are padded to an even size; the pad byte is not counted in chunkSize.
        at = body + chunkSize + (chunkSize & 1);
    }
    damaged(name, haveFormat ? u"it has no data chunk"_s : u"it has no format chunk"_s);
}
