// The single-instance guard between real processes: the probe (the station's
// window under the guard) and the station itself.

#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void identity_data();
    void identity();
    void secondCopyBringsFirstForward();
    void otherIdentityRunsBeside();
    void leftOverSocketIsTakenOver();
    void station_data();
    void station();

private:
    QProcess *start(const QString &program, const QStringList &arguments,
                    const QString &workingDirectory = {});
    static QString readLine(QProcess *process);

    std::unique_ptr<QTemporaryDir> m_runtime;
    QList<QProcess *> m_processes;
};

void SingleInstanceTest::init()
{
    // A runtime folder of this test's own: the guard's sockets live there.
    m_runtime = std::make_unique<QTemporaryDir>();
    QVERIFY(m_runtime->isValid());
    QFile::setPermissions(m_runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SingleInstanceTest::cleanup()
{
    for (QProcess *process : std::as_const(m_processes)) {
        process->kill();
        process->waitForFinished();
        delete process;
    }
    m_processes.clear();
    m_runtime.reset();
}

QProcess *SingleInstanceTest::start(const QString &program, const QStringList &arguments,
                                    const QString &workingDirectory)
{
    auto *process = new QProcess;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime->path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    if (!workingDirectory.isEmpty())
        process->setWorkingDirectory(workingDirectory);
    process->start(program, arguments);
    m_processes.append(process);
    return process;
}

QString SingleInstanceTest::readLine(QProcess *process)
{
    for (int i = 0; i < 200 && !process->canReadLine(); ++i) {
        if (!process->waitForReadyRead(100) && process->state() == QProcess::NotRunning)
            break;
    }
    return QString::fromUtf8(process->readLine()).trimmed();
}

void SingleInstanceTest::identity_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("identity");
    QTest::newRow("plain") << "/opt/station/kitchen-station"
                           << "KITCHEN-STATION";
    QTest::newRow("folder does not count") << "/home/cook/bin/Kitchen-Station"
                                           << "KITCHEN-STATION";
    QTest::newRow("extension kept") << "C:/Station/Vente.exe"
                                    << "VENTE.EXE";
    QTest::newRow("other name") << "/opt/station/kitchen-station-2"
                                << "KITCHEN-STATION-2";
}

void SingleInstanceTest::identity()
{
    QFETCH(QString, path);
    QFETCH(QString, identity);
    QCOMPARE(SingleInstance::identityOf(path), identity);
}

void SingleInstanceTest::secondCopyBringsFirstForward()
{
    QProcess *first = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QCOMPARE(readLine(first), u"first"_s);

    QProcess *second = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), u"second"_s);

    // The first copy was minimised: it is restored and shown.
    QCOMPARE(readLine(first), u"activated minimised=0 visible=1"_s);
    QCOMPARE(first->state(), QProcess::Running);

    // And again for a third copy.
    QProcess *third = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QVERIFY(third->waitForFinished(20000));
    QCOMPARE(readLine(first), u"activated minimised=0 visible=1"_s);
}

void SingleInstanceTest::otherIdentityRunsBeside()
{
    QProcess *first = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QCOMPARE(readLine(first), u"first"_s);
    QProcess *other = start(QStringLiteral(STATION_PROBE), { u"PROBE-B"_s });
    QCOMPARE(readLine(other), u"first"_s);
    QCOMPARE(other->state(), QProcess::Running);
}

void SingleInstanceTest::leftOverSocketIsTakenOver()
{
    // A copy that was killed leaves its socket behind; the next copy is the first all the same.
    QProcess *killed = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QCOMPARE(readLine(killed), u"first"_s);
    killed->kill();
    QVERIFY(killed->waitForFinished());
    QVERIFY(QFileInfo::exists(QDir(m_runtime->path()).filePath(u"PROBE-A"_s)));

    QProcess *next = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QCOMPARE(readLine(next), u"first"_s);
    QProcess *second = start(QStringLiteral(STATION_PROBE), { u"PROBE-A"_s });
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), u"second"_s);
}

void SingleInstanceTest::station_data()
{
    QTest::addColumn<QString>("secondName"); // file name of the later copy
    QTest::addColumn<bool>("ends");
    QTest::newRow("same program") << "kitchen-station" << true;
    QTest::newRow("same name in capitals, other folder") << "KITCHEN-Station" << true;
    QTest::newRow("other name") << "kitchen-station-2" << false;
}

void SingleInstanceTest::station()
{
    QFETCH(QString, secondName);
    QFETCH(bool, ends);

    // No connection file: a copy whose start-up ran would stop at an error box
    // and never end by itself.
    QTemporaryDir work;
    QProcess *first = start(QStringLiteral(STATION_PROGRAM), {}, work.path());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QDir(m_runtime->path()).filePath(u"KITCHEN-STATION"_s)),
                             20000);

    QTemporaryDir copies;
    const QString copy = copies.filePath(secondName);
    QVERIFY(QFile::copy(QStringLiteral(STATION_PROGRAM), copy));
    // The station reads its translation catalog beside itself and does not start without it.
    const QString catalog = QFileInfo(QStringLiteral(STATION_PROGRAM)).dir().filePath(u"NC_VELK.i18n"_s);
    QVERIFY(QFile::copy(catalog, copies.filePath(u"NC_VELK.i18n"_s)));
    QProcess *second = start(copy, {}, work.path());
    if (ends) {
        QVERIFY(second->waitForFinished(20000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(QDir(m_runtime->path()).filePath(secondName.toUpper())),
                                 20000);
        QCOMPARE(second->state(), QProcess::Running);
    }
    QCOMPARE(first->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
