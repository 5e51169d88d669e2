// kitchen-tool announce and clips, run as an installer runs them.

#include "TestHelpers.h"
#include "calling/ClipLibrary.h"
#include "calling/WaveClip.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Run = TestHelpers::ToolRun;

Run kitchenTool(const QStringList &arguments)
{
    return TestHelpers::runKitchenTool(arguments);
}

} // namespace

class TestToolCalling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void announcePlan_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("out");

        QTest::newRow("305") << QStringList { u"announce"_s, u"305"_s, u"--plan"_s }
                             << u"TALABIA\nFA300\nWA\nFA5\n"_s;
        QTest::newRow("option first")
            << QStringList { u"announce"_s, u"--plan"_s, u"100"_s } << u"TALABIA\nFA100\n"_s;
        QTest::newRow("1234") << QStringList { u"announce"_s, u"1234"_s, u"--plan"_s }
                              << u"TALABIA\nFA1\nFA2\nFA3\nFA4\n"_s;
    }

    void announcePlan()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, out);
        const Run run = kitchenTool(arguments);
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, out);
    }

    void badNumbersFail_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        QTest::newRow("negative") << QStringList { u"announce"_s, u"-3"_s, u"--plan"_s } << u"-3"_s;
        QTest::newRow("not a number") << QStringList { u"announce"_s, u"12a"_s, u"--plan"_s } << u"12a"_s;
        QTest::newRow("too large") << QStringList { u"announce"_s, u"99999999999"_s, u"--plan"_s }
                                   << u"99999999999"_s;
        QTest::newRow("no number") << QStringList { u"announce"_s, u"--plan"_s } << u"which order number"_s;
        QTest::newRow("--wav without a file")
            << QStringList { u"announce"_s, u"5"_s, u"--wav"_s } << u"--wav"_s;
        QTest::newRow("two numbers") << QStringList { u"announce"_s, u"5"_s, u"6"_s } << u"6"_s;
    }

    void badNumbersFail()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = kitchenTool(arguments);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QString());
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }

    void announceToWavFile()
    {
        QTemporaryDir folder;
        const QString file = folder.filePath(u"250.wav"_s);
        const Run run = kitchenTool({ u"announce"_s, u"250"_s, u"--wav"_s, file });
        QCOMPARE(run.status, 0);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const WaveClip call = WaveClip::parse(u"250.wav"_s, written.readAll());
        qint64 frames = 0;
        for (const QString &name : { u"TALABIA"_s, u"FA200"_s, u"WA"_s, u"FA50"_s })
            frames += ClipLibrary().clip(name).frameCount();
        QCOMPARE(call.frameCount(), frames);
        QCOMPARE(call.format, (AudioFormat { 24000, 1, 16 }));
    }

    void clipsListsEveryClip()
    {
        const Run run = kitchenTool({ u"clips"_s });
        QCOMPARE(run.status, 0);
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), ClipLibrary::names().size());
        QVERIFY2(lines.first().startsWith(u"TALABIA\t"_s) && lines.first().endsWith(u" s"_s),
                 qPrintable(lines.first()));

        // A folder of replacements with one clip missing and one damaged.
        QTemporaryDir folder;
        for (const QString &name : ClipLibrary::names()) {
            if (name != u"FA7")
                QFile::copy(u":/voice/"_s + name + u".wav"_s, folder.filePath(name + u".wav"_s));
        }
        QFile::remove(folder.filePath(u"WA.wav"_s));
        QFile damaged(folder.filePath(u"WA.wav"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("RIFF");
        damaged.close();
        const Run check = kitchenTool({ u"clips"_s, u"--folder"_s, folder.path() });
        QCOMPARE(check.status, 1);
        QVERIFY2(check.err.contains(u"Resource FA7 not found"_s), qPrintable(check.err));
        QVERIFY2(check.err.contains(u"WA cannot be played"_s), qPrintable(check.err));
        QCOMPARE(check.out.split(u'\n', Qt::SkipEmptyParts).size(), ClipLibrary::names().size() - 2);
    }
};

QTEST_GUILESS_MAIN(TestToolCalling)
#include "tst_toolcalling.moc"
