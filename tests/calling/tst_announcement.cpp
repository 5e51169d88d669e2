// Calling a number out: which clips, in which order, in one stream, and what
// happens when a clip or the sound device is missing.

#include "app/StationError.h"
#include "calling/AnnouncementPlan.h"
#include "calling/Announcer.h"
#include "calling/ClipLibrary.h"
#include "calling/RecordingSink.h"
#include "calling/WavFileSink.h"
#include "calling/WaveWriter.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <climits>

using namespace Qt::StringLiterals;

namespace {

const AudioFormat clipFormat { 24000, 1, 16 };

// A clip whose samples tell it apart: frames of its own value.
QByteArray samplesOf(char value, int frames)
{
    QByteArray bytes;
    for (int i = 0; i < frames; ++i)
        bytes.append(value).append('\0');
    return bytes;
}

void writeClip(const QString &folder, const QString &name, const QByteArray &image)
{
    QFile file(folder + u'/' + name + u".wav"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(image);
}

struct Station
{
    RecordingSink *sink;
    std::unique_ptr<Announcer> announcer;
};

Station stationWith(const ClipLibrary &clips = ClipLibrary())
{
    auto sink = std::make_unique<RecordingSink>();
    RecordingSink *raw = sink.get();
    return { raw, std::make_unique<Announcer>(std::move(sink), clips) };
}

} // namespace

class TestAnnouncement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void plan_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("clips");

        QTest::newRow("0 is two clips") << 0 << QStringList { u"TALABIA"_s, u"FA0"_s };
        QTest::newRow("7") << 7 << QStringList { u"TALABIA"_s, u"FA7"_s };
        QTest::newRow("99") << 99 << QStringList { u"TALABIA"_s, u"FA99"_s };
        QTest::newRow("100 is a number clip") << 100 << QStringList { u"TALABIA"_s, u"FA100"_s };
        QTest::newRow("101 is four clips")
            << 101 << QStringList { u"TALABIA"_s, u"FA100"_s, u"WA"_s, u"FA1"_s };
        QTest::newRow("110") << 110 << QStringList { u"TALABIA"_s, u"FA100"_s, u"WA"_s, u"FA10"_s };
        QTest::newRow("200 is a whole hundred") << 200 << QStringList { u"TALABIA"_s, u"FA200"_s };
        QTest::newRow("250") << 250 << QStringList { u"TALABIA"_s, u"FA200"_s, u"WA"_s, u"FA50"_s };
        QTest::newRow("305 drops the zero")
            << 305 << QStringList { u"TALABIA"_s, u"FA300"_s, u"WA"_s, u"FA5"_s };
        QTest::newRow("999") << 999 << QStringList { u"TALABIA"_s, u"FA900"_s, u"WA"_s, u"FA99"_s };
        QTest::newRow("900") << 900 << QStringList { u"TALABIA"_s, u"FA900"_s };
        QTest::newRow("199") << 199 << QStringList { u"TALABIA"_s, u"FA100"_s, u"WA"_s, u"FA99"_s };
        // No thousands among the clips: such numbers are called digit by digit
        // rather than as their first three digits (1234 as 123).
        QTest::newRow("1000 digit by digit")
            << 1000 << QStringList { u"TALABIA"_s, u"FA1"_s, u"FA0"_s, u"FA0"_s, u"FA0"_s };
        QTest::newRow("1234 digit by digit")
            << 1234 << QStringList { u"TALABIA"_s, u"FA1"_s, u"FA2"_s, u"FA3"_s, u"FA4"_s };
        QTest::newRow("2005 digit by digit")
            << 2005 << QStringList { u"TALABIA"_s, u"FA2"_s, u"FA0"_s, u"FA0"_s, u"FA5"_s };
        QStringList biggest { u"TALABIA"_s };
        for (const QChar digit : u"2147483647"_s)
            biggest << u"FA"_s + digit;
        QTest::newRow("largest order number") << INT_MAX << biggest;
    }

    void plan()
    {
        QFETCH(int, number);
        QFETCH(QStringList, clips);
        QCOMPARE(AnnouncementPlan::clipsFor(number), clips);
    }

    void everyPlannedClipIsInTheSet()
    {
        const QStringList set = ClipLibrary::names();
        QCOMPARE(set.size(), 112);
        QCOMPARE(QSet<QString>(set.cbegin(), set.cend()).size(), 112);
        for (int number = 0; number < 3000; ++number) {
            const QStringList clips = AnnouncementPlan::clipsFor(number);
            QCOMPARE(clips.first(), u"TALABIA"_s);
            QVERIFY(!clips.contains(u"WAJBA"_s));
            for (const QString &clip : clips)
                QVERIFY2(set.contains(clip), qPrintable(u"%1 asks for %2"_s.arg(number).arg(clip)));
        }
    }

    void builtInClipsAreCompleteAndInTheClipFormat()
    {
        const ClipLibrary clips;
        for (const QString &name : ClipLibrary::names()) {
            const QByteArray image = clips.image(name);
            const WaveClip clip = WaveClip::parse(name, image);
            QCOMPARE(clip.format, clipFormat);
            QVERIFY2(clip.seconds() > 0.2 && clip.seconds() < 3.0, qPrintable(name));
            // A 16-byte fmt chunk right after the header. (The delivered clips also
            // carry a LIST/INFO chunk; a recording that replaces one need not.)
            QCOMPARE(image.sliced(12, 8), QByteArray("fmt \x10\0\0\0", 8));
        }
    }

    void negativeNumbersAreRefusedBeforeAnySound_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("-1") << -1;
        QTest::newRow("-250") << -250;
        QTest::newRow("smallest int") << INT_MIN;
    }

    void negativeNumbersAreRefusedBeforeAnySound()
    {
        QFETCH(int, number);
        Station station = stationWith();
        try {
            station.announcer->appel(number);
            QFAIL("a negative number was called");
        } catch (const StationError &error) {
            QVERIFY2(error.message().contains(QString::number(number)), qPrintable(error.message()));
        }
        QCOMPARE(station.sink->openAttempts(), 0);
    }

    void announcementIsTheClipsBackToBack_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("7") << 7;
        QTest::newRow("250") << 250;
        QTest::newRow("1234") << 1234;
    }

    void announcementIsTheClipsBackToBack()
    {
        QFETCH(int, number);
        Station station = stationWith();
        station.announcer->appel(number);

        QCOMPARE(station.sink->streams().size(), 1);
        const RecordingSink::Stream &stream = station.sink->streams().first();
        QVERIFY(stream.closed);
        QCOMPARE(stream.format, clipFormat);
        QCOMPARE(stream.clips, AnnouncementPlan::clipsFor(number));

        QByteArray expected;
        for (const QString &name : stream.clips)
            expected += ClipLibrary().clip(name).samples;
        QCOMPARE(stream.samples.size(), expected.size());
        QVERIFY(stream.samples == expected);
    }

    void missingOrDamagedClipEndsTheAnnouncement_data()
    {
        QTest::addColumn<QByteArray>("fa5");
        QTest::addColumn<QString>("error");

        QTest::newRow("missing") << QByteArray() << u"Resource FA5 not found"_s;
        QTest::newRow("truncated") << WaveWriter::image(clipFormat, samplesOf(5, 100)).chopped(20)
                                   << u"Voice clip FA5 cannot be played"_s;
        QTest::newRow("another format") << WaveWriter::image({ 44100, 2, 16 }, samplesOf(5, 100))
                                        << u"Voice clip FA5 cannot be played: it is in 44100 Hz"_s;
    }

    void missingOrDamagedClipEndsTheAnnouncement()
    {
        QFETCH(QByteArray, fa5);
        QFETCH(QString, error);

        QTemporaryDir folder;
        writeClip(folder.path(), u"TALABIA"_s, WaveWriter::image(clipFormat, samplesOf(1, 50)));
        if (!fa5.isEmpty())
            writeClip(folder.path(), u"FA5"_s, fa5);
        Station station = stationWith(ClipLibrary(folder.path()));

        try {
            station.announcer->appel(5);
            QFAIL("the announcement went through");
        } catch (const StationError &e) {
            QCOMPARE(e.message().left(error.size()), error);
        }
        // What was played before the failing clip stays played, and the stream is finished.
        QCOMPARE(station.sink->streams().size(), 1);
        QCOMPARE(station.sink->streams().first().clips, QStringList { u"TALABIA"_s });
        QCOMPARE(station.sink->streams().first().samples, samplesOf(1, 50));
        QVERIFY(station.sink->streams().first().closed);
    }

    void noSoundDeviceSkipsAndSaysSoOnce()
    {
        Station station = stationWith();
        station.sink->setAvailable(false);
        QSignalSpy unavailable(station.announcer.get(), &Announcer::soundUnavailable);

        station.announcer->appel(12);
        station.announcer->appel(305);
        QCOMPARE(station.sink->openAttempts(), 2);
        QCOMPARE(unavailable.size(), 1);
        QVERIFY(!unavailable.first().first().toString().isEmpty());
        QVERIFY(station.sink->streams().isEmpty());

        // A missing clip is still an error when there is no device to play it on.
        QTemporaryDir empty;
        Station bare = stationWith(ClipLibrary(empty.path()));
        bare.sink->setAvailable(false);
        QVERIFY_THROWS_EXCEPTION(StationError, bare.announcer->appel(1));
    }

    void wavFileHoldsTheWholeAnnouncement()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"call.wav"_s);
        Announcer announcer(std::make_unique<WavFileSink>(file), ClipLibrary());
        announcer.appel(250);

        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const WaveClip whole = WaveClip::parse(u"call"_s, written.readAll());
        QCOMPARE(whole.format, clipFormat);
        QByteArray expected;
        for (const QString &name : AnnouncementPlan::clipsFor(250))
            expected += ClipLibrary().clip(name).samples;
        QVERIFY(whole.samples == expected);
    }

    void failedAnnouncementLeavesTheWavFileAlone()
    {
        QTemporaryDir folder;
        writeClip(folder.path(), u"TALABIA"_s, WaveWriter::image(clipFormat, samplesOf(1, 50)));
        const QString file = folder.filePath(u"call.wav"_s);
        {
            QFile before(file);
            QVERIFY(before.open(QIODevice::WriteOnly));
            before.write("earlier");
        }
        Announcer announcer(std::make_unique<WavFileSink>(file), ClipLibrary(folder.path()));
        QVERIFY_THROWS_EXCEPTION(StationError, announcer.appel(5));
        QFile after(file);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), "earlier"_ba);
    }
};

QTEST_GUILESS_MAIN(TestAnnouncement)
#include "tst_announcement.moc"
