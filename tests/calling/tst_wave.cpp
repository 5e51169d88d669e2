// The WAVE reader on good and damaged clips, and the writer it reads back.

#include "app/StationError.h"
#include "calling/WaveClip.h"
#include "calling/WaveWriter.h"

#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

QByteArray le16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray chunk(const QByteArray &id, const QByteArray &body)
{
    return id + le32(quint32(body.size())) + body + (body.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray fmtBody(quint16 tag = 1, quint16 channels = 1, quint32 rate = 24000, quint16 bits = 16)
{
    const quint16 align = quint16(channels * bits / 8);
    return le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}

QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

// Six samples: a few values, both signs, so that a byte-order slip shows.
const QByteArray samples
    = le16(0) + le16(1000) + le16(quint16(-1000)) + le16(32767) + le16(quint16(-32768)) + le16(7);

QByteArray info()
{
    return chunk("LIST",
                 "INFO" + chunk("INAM", "FA7\0"_ba) + chunk("ICMT", "\xd8\xb3\xd8\xa8\xd8\xb9\xd8\xa9\0"_ba));
}

} // namespace

class TestWave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsGoodClips_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("channels");

        QTest::newRow("fmt, LIST/INFO, data")
            << riff(chunk("fmt ", fmtBody()) + info() + chunk("data", samples)) << 1;
        QTest::newRow("no LIST chunk") << riff(chunk("fmt ", fmtBody()) + chunk("data", samples)) << 1;
        QTest::newRow("LIST before fmt")
            << riff(info() + chunk("fmt ", fmtBody()) + chunk("data", samples)) << 1;
        QTest::newRow("odd-sized chunk with its pad byte")
            << riff(chunk("fmt ", fmtBody()) + chunk("junk", "abc") + chunk("data", samples)) << 1;
        QTest::newRow("18-byte fmt chunk")
            << riff(chunk("fmt ", fmtBody() + le16(0)) + chunk("data", samples)) << 1;
        QByteArray extensible = fmtBody(0xFFFE) + le16(22) + le16(16) + le32(4) + le16(1)
            + QByteArray::fromHex("000000001000800000aa00389b71");
        QTest::newRow("extensible format, PCM inside")
            << riff(chunk("fmt ", extensible) + chunk("data", samples)) << 1;
        QTest::newRow("stereo") << riff(chunk("fmt ", fmtBody(1, 2)) + chunk("data", samples)) << 2;
        QTest::newRow("bytes after the RIFF chunk")
            << riff(chunk("fmt ", fmtBody()) + chunk("data", samples)) + "trailing garbage" << 1;
        QTest::newRow("written by WaveWriter")
            << WaveWriter::image({ 24000, 1, 16 }, samples, { { "INAM", "FA7" }, { "ISFT", "odd" } }) << 1;
    }

    void readsGoodClips()
    {
        QFETCH(QByteArray, image);
        QFETCH(int, channels);

        const WaveClip clip = WaveClip::parse(u"FA7"_s, image);
        QCOMPARE(clip.name, u"FA7"_s);
        QCOMPARE(clip.format, (AudioFormat { 24000, channels, 16 }));
        QCOMPARE(clip.samples, samples);
        QCOMPARE(clip.frameCount(), 6 / channels);
    }

    void writerUsesTheClipLayout()
    {
        // RIFF, WAVE, a 16-byte fmt chunk, LIST/INFO, then data: the layout of every clip.
        const QByteArray image = WaveWriter::image({ 24000, 1, 16 }, samples, { { "ISFT", "x" } });
        QCOMPARE(image.first(4), "RIFF"_ba);
        QCOMPARE(qFromLittleEndian<quint32>(image.constData() + 4), quint32(image.size() - 8));
        QCOMPARE(image.sliced(8, 8), "WAVEfmt "_ba);
        QCOMPARE(image.sliced(16, 4), le32(16));
        QCOMPARE(image.sliced(20, 16), fmtBody());
        QCOMPARE(image.sliced(36, 4), "LIST"_ba);
        QCOMPARE(image.sliced(44, 4), "INFO"_ba);
        QVERIFY(image.indexOf("data") > 44);
        QCOMPARE(image.last(samples.size()), samples);
    }

    void refusesDamagedClips_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("reason");

        const QByteArray good = riff(chunk("fmt ", fmtBody()) + info() + chunk("data", samples));
        QTest::newRow("empty") << QByteArray() << u"not a RIFF/WAVE file"_s;
        QTest::newRow("a text file") << "hello, this is not a sound"_ba << u"not a RIFF/WAVE file"_s;
        QTest::newRow("RIFF but not WAVE")
            << QByteArray(good).replace(8, 4, "AVI ") << u"not a RIFF/WAVE file"_s;
        QTest::newRow("cut in the data") << good.chopped(3) << u"truncated"_s;
        QTest::newRow("cut after the header") << good.first(12 + 8 + 10) << u"truncated"_s;
        QTest::newRow("data chunk longer than the file")
            << riff(chunk("fmt ", fmtBody()) + "data" + le32(1000) + samples) << u"truncated"_s;
        QTest::newRow("14-byte fmt chunk")
            << riff(chunk("fmt ", fmtBody().first(14)) + chunk("data", samples))
            << u"format chunk is 14 bytes"_s;
        QTest::newRow("floating point")
            << riff(chunk("fmt ", fmtBody(3, 1, 24000, 32)) + chunk("data", samples))
            << u"format 3, not linear PCM"_s;
        QTest::newRow("A-law") << riff(chunk("fmt ", fmtBody(6, 1, 24000, 8)) + chunk("data", samples))
                               << u"format 6, not linear PCM"_s;
        QTest::newRow("8 bits") << riff(chunk("fmt ", fmtBody(1, 1, 24000, 8)) + chunk("data", samples))
                                << u"8 bits per sample"_s;
        QTest::newRow("24 bits") << riff(chunk("fmt ", fmtBody(1, 1, 24000, 24)) + chunk("data", samples))
                                 << u"24 bits per sample"_s;
        QTest::newRow("no channels") << riff(chunk("fmt ", fmtBody(1, 0)) + chunk("data", samples))
                                     << u"not one a sound device plays"_s;
        QTest::newRow("rate zero") << riff(chunk("fmt ", fmtBody(1, 1, 0)) + chunk("data", samples))
                                   << u"not one a sound device plays"_s;
        QByteArray badAlign = fmtBody();
        badAlign.replace(12, 2, le16(4));
        QTest::newRow("block alignment contradicts the channels")
            << riff(chunk("fmt ", badAlign) + chunk("data", samples)) << u"contradicts itself"_s;
        QTest::newRow("data before fmt")
            << riff(chunk("data", samples) + chunk("fmt ", fmtBody())) << u"data comes before its format"_s;
        QTest::newRow("no data") << riff(chunk("fmt ", fmtBody()) + info()) << u"no data chunk"_s;
        QTest::newRow("no fmt") << riff(info()) << u"no format chunk"_s;
        QTest::newRow("half a sample")
            << riff(chunk("fmt ", fmtBody()) + chunk("data", samples.chopped(1))) << u"middle of a sample"_s;
    }

    void refusesDamagedClips()
    {
        QFETCH(QByteArray, image);
        QFETCH(QString, reason);

        try {
            WaveClip::parse(u"FA42"_s, image);
            QFAIL("a damaged clip was read");
        } catch (const StationError &error) {
            QVERIFY2(error.message().contains(u"FA42"_s), qPrintable(error.message()));
            QVERIFY2(error.message().contains(reason), qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestWave)
#include "tst_wave.moc"
