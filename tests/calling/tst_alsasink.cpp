// The ALSA sink without a sound card: a device that cannot be opened is said
// once and skipped, ALSA's null device takes a whole announcement, and the
// device comes from station.ini.

#include "calling/AlsaSink.h"
#include "calling/Announcer.h"
#include "calling/ClipLibrary.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAlsaSink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unknownDeviceFailsCleanly()
    {
        AlsaSink sink(u"no_such_station_device"_s);
        QVERIFY(!sink.open({ 24000, 1, 16 }));
        QVERIFY2(sink.errorString().contains(u"no_such_station_device"_s), qPrintable(sink.errorString()));
        sink.write(u"TALABIA"_s, QByteArray(100, '\0')); // nothing open: ignored
        sink.close();
    }

    void announcerSkipsAnUnopenableDevice()
    {
        Announcer announcer(std::make_unique<AlsaSink>(u"no_such_station_device"_s), ClipLibrary());
        QSignalSpy unavailable(&announcer, &Announcer::soundUnavailable);
        announcer.appel(42);
        announcer.appel(7);
        QCOMPARE(unavailable.size(), 1);
        QVERIFY(unavailable.first().first().toString().contains(u"no_such_station_device"_s));
    }

    void nullDevicePlaysAWholeAnnouncement()
    {
        // ALSA's null PCM discards the samples: the whole path (open, params,
        // writes of several clips, drain) runs without a sound card.
        Announcer announcer(std::make_unique<AlsaSink>(u"null"_s), ClipLibrary());
        QSignalSpy unavailable(&announcer, &Announcer::soundUnavailable);
        announcer.appel(999);
        announcer.appel(1234);
        QCOMPARE(unavailable.size(), 0);
    }

    void deviceFromStationIni_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("device");

        QTest::newRow("no station.ini") << QByteArray() << u"default"_s;
        QTest::newRow("no [audio] section") << "[database]\npassword=x\n"_ba << u"default"_s;
        QTest::newRow("empty device") << "[audio]\ndevice=\n"_ba << u"default"_s;
        QTest::newRow("named device") << "[audio]\ndevice=null\n"_ba << u"null"_s;
        QTest::newRow("device with a comma") << "[audio]\ndevice=plughw:1,0\n"_ba << u"plughw:1,0"_s;
        QTest::newRow("quoted device") << "[audio]\ndevice=\"hw:0,3\"\n"_ba << u"hw:0,3"_s;
        QTest::newRow("beside other sections")
            << "[database]\ncodepage=windows-1256\n[audio]\ndevice=dmix\n"_ba << u"dmix"_s;
    }

    void deviceFromStationIni()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, device);

        QTemporaryDir folder;
        if (!ini.isEmpty()) {
            QFile file(folder.filePath(u"station.ini"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(ini);
        }
        QCOMPARE(AlsaSink::configuredDevice(folder.path()), device);
    }
};

QTEST_GUILESS_MAIN(TestAlsaSink)
#include "tst_alsasink.moc"
