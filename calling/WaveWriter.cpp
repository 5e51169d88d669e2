#include "calling/WaveWriter.h"

#include <QtEndian>

namespace {

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void putChunk(QByteArray &out, QByteArrayView id, QByteArrayView body)
{
    out.append(id.data(), 4);
    put32(out, quint32(body.size()));
    out.append(body.data(), body.size());
    if (body.size() & 1)
        out.append('\0');
}

} // namespace

QByteArray WaveWriter::image(const AudioFormat &format, QByteArrayView samples, const QList<InfoItem> &info)
{
    QByteArray fmt;
    put16(fmt, 1);
    put16(fmt, quint16(format.channels));
    put32(fmt, quint32(format.sampleRate));
    put32(fmt, quint32(format.sampleRate * format.bytesPerFrame()));
    put16(fmt, quint16(format.bytesPerFrame()));
    put16(fmt, quint16(format.bitsPerSample));

    QByteArray body("WAVE");
    putChunk(body, "fmt ", fmt);
    if (!info.isEmpty()) {
        QByteArray list("INFO");
        for (const InfoItem &item : info)
            putChunk(list, item.first, QByteArray(item.second + '\0'));
        putChunk(body, "LIST", list);
    }
    putChunk(body, "data", samples);

    QByteArray out;
    putChunk(out, "RIFF", body);
    return out;
}
