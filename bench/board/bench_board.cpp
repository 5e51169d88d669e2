// bench_board: what the board's refresh costs the station.
//
//   bench_board [--embedded] [--history N] [--long-ticks N] [--parts ticks,cpu,memory,latency]
//
// On a database of N validated lines of history (1,000,000 by default, with
// the counter-sale system's index on DATE_VENTE), in the station's process
// with its main window shown:
//   1. the cost of one tick with 0, 20, 100 and 500 pending lines: the query,
//      the rebuild and the paint; "steady" when the board shows the same lines
//      as before (nothing repainted), "changed" when it shows other lines
//      (every visible tile repainted);
//   2. the station's CPU use at rest with 50 pending lines, the refresh
//      running at its 50 ms for 10 s;
//   3. the resident size after 1,000 and after 100,000 ticks;
//   4. the time from a line inserted by another process (a copy of this
//      program acting as the counter-sale system) to its tile painted.
//
// The database is on the Firebird server on loopback (as at a restaurant)
// unless --embedded is given; the server must be running
// (scripts/services/firebird-server.sh start).

#include "BenchFigures.h"
#include "TestDatabase.h"
#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/PendingTileModel.h"
#include "forms/TVente_au_comptoir_zedivad.h"
#include "forms/TileBoard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QProcess>
#include <QSet>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

qint64 wallMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

/// CPU seconds the Firebird server's processes have used, -1 when there is none to see.
double serverCpuSeconds()
{
    QProcess pidof;
    pidof.start(u"pidof"_s, { u"firebird"_s });
    pidof.waitForFinished();
    const QStringList pids
        = QString::fromLatin1(pidof.readAllStandardOutput()).split(u' ', Qt::SkipEmptyParts);
    if (pids.isEmpty())
        return -1;
    double total = 0;
    for (const QString &pid : pids) {
        const std::optional<double> seconds = processCpuSeconds(pid.trimmed().toLongLong());
        if (!seconds)
            return -1;
        total += *seconds;
    }
    return total;
}

double cpuSeconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

/// Median and 99th percentile, in milliseconds, of durations in microseconds.
QString figures(const QList<qint64> &samples)
{
    if (samples.isEmpty())
        return u"no samples"_s;
    return u"median %1 ms, p99 %2 ms (%3 samples)"_s.arg(percentile(samples, 0.5) / 1000.0, 0, 'f', 2)
        .arg(percentile(samples, 0.99) / 1000.0, 0, 'f', 2)
        .arg(samples.size());
}

void waitFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

/// The history: validated lines of the days before today, 1000 a day.
QString historyScript(int lines)
{
    return uR"(SET TERM ^ ;
EXECUTE BLOCK AS
DECLARE I INTEGER = 0;
BEGIN
  WHILE (I < %1) DO BEGIN
    INSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, TIME_VENTE, NUMERO_TABLE, VALIDE, COLOR, CUISEN, PRIX,
                                CLE_ART, ARTICLE, QTE, TIME_ORDER, WAJBA_ORDER, TAILLE)
    VALUES (MOD(:I, 500) + 1, DATEADD(-1 - :I / 1000 DAY TO CURRENT_DATE), '12:00:00', 1, 'True', 65535, 'Grill', 10,
            100 + MOD(:I, 50), 'Article ' || MOD(:I, 50), 1, '12:05:00', 0, 'M');
    I = I + 1;
  END
END^
SET TERM ; ^
)"_s.arg(lines);
}

/// Today's pending lines: exactly count of them, the first one numbered first.
void setPendingLines(TestDatabase &db, int count, int first = 1)
{
    db.run(uR"(DELETE FROM LISTE_COMMANDE WHERE DATE_VENTE = CURRENT_DATE;
SET TERM ^ ;
EXECUTE BLOCK AS
DECLARE I INTEGER = 0;
BEGIN
  WHILE (I < %1) DO BEGIN
    INSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, TIME_VENTE, NUMERO_TABLE, VALIDE, COLOR, CUISEN, PRIX,
                                CLE_ART, ARTICLE, QTE, TIME_ORDER, WAJBA_ORDER, TAILLE)
    VALUES (%2 + :I, CURRENT_DATE, '12:00:00', 1, 'False', 65535 - 4000 * MOD(:I, 7), 'Grill', 10,
            100 + MOD(:I, 50), 'Pizza ' || MOD(:I, 50), 1 + MOD(:I, 3), NULL, 0, 'M');
    I = I + 1;
  END
END^
SET TERM ; ^
)"_s.arg(count)
               .arg(first));
}

/// The counter-sale system's part in the latency run: inserts count lines,
/// one every interval ms, each stamped with the wall clock in its article.
int runInserter(const QStringList &arguments)
{
    ConnectionSettings settings;
    settings.database = arguments.value(0);
    settings.password = arguments.value(1);
    const int count = arguments.value(2).toInt();
    const int interval = arguments.value(3).toInt();
    DbConnection connection;
    connection.open(settings);
    DbStatement insert(
        connection,
        u"INSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, TIME_VENTE, NUMERO_TABLE, VALIDE, COLOR, "
        "CUISEN, PRIX, CLE_ART, ARTICLE, QTE, WAJBA_ORDER, TAILLE) VALUES (:N, CURRENT_DATE, "
        "'12:00:00', 1, 'False', 255, 'Grill', 10, 100, :A, 1, 0, 'M')"_s);
    for (int i = 0; i < count; ++i) {
        QThread::msleep(ulong(interval));
        insert.setParam(0, DbValue(9000 + i));
        // Stamped just before the commit: the line is there for others from then on.
        insert.setParam(1, DbValue(u"t%1"_s.arg(wallMicroseconds())));
        insert.execute();
    }
    return 0;
}

struct Options
{
    bool embedded = false;
    QStringList parts = {u"ticks"_s, u"cpu"_s, u"memory"_s, u"latency"_s};
    int history = 1000000;
    int longTicks = 100000;
};

void tickCost(TestDatabase &db, TVente_au_comptoir_zedivad &window)
{
    out << "\nTick cost (query + rebuild + paint), " << db.databaseText() << ":\n";
    for (int pending : { 0, 20, 100, 500 }) {
        setPendingLines(db, pending);
        window.Timer2Timer(); // warm: statement prepared, pages cached
        QCoreApplication::processEvents();

        QList<qint64> steady;
        QList<qint64> changed;
        QElapsedTimer clock;
        for (int i = 0; i < 400; ++i) {
            clock.start();
            window.Timer2Timer();
            window.Categories->repaint(); // paints only if something changed; here nothing did
            QCoreApplication::processEvents();
            steady.append(clock.nsecsElapsed() / 1000);

            window.Groupe1->clear(); // the next tick finds other tiles than the board shows
            QCoreApplication::processEvents();
            clock.start();
            window.Timer2Timer();
            window.Categories->repaint();
            changed.append(clock.nsecsElapsed() / 1000);
        }
        if (!window.boardErrorBanner()->isHidden())
            out << "  refresh failed: " << window.boardErrorBanner()->text() << '\n';
        out << "  " << qSetFieldWidth(3) << pending << qSetFieldWidth(0) << " pending lines ("
            << window.Groupe1->rowCount() << " tiles): steady " << figures(steady) << "; changed "
            << figures(changed) << '\n';
        out.flush();
    }
}

void cpuAtRest(TestDatabase &db, TVente_au_comptoir_zedivad &window)
{
    setPendingLines(db, 50);
    window.Timer2->start();
    waitFor(1000);
    const double cpuBefore = cpuSeconds();
    const double serverBefore = db.isServer() ? serverCpuSeconds() : -1;
    QElapsedTimer wall;
    wall.start();
    int ticks = 0;
    const auto counter = QObject::connect(window.Timer2, &QTimer::timeout, &window, [&ticks] { ++ticks; });
    waitFor(10000);
    const double cpu = cpuSeconds() - cpuBefore;
    const double server = serverBefore >= 0 ? serverCpuSeconds() - serverBefore : -1;
    const double seconds = double(wall.elapsed()) / 1000.0;
    QObject::disconnect(counter);
    window.Timer2->stop();
    out << "\nCPU at rest, 50 pending lines, refresh every 50 ms: "
        << QString::number(100.0 * cpu / seconds, 'f', 2) << " % of one core in the station's process ("
        << ticks << " ticks in " << QString::number(seconds, 'f', 1) << " s)";
    if (server >= 0)
        out << "; the Firebird server meanwhile: " << QString::number(100.0 * server / seconds, 'f', 2)
            << " % (all its clients)";
    out << '\n';
    out.flush();
}

void memory(TestDatabase &db, TVente_au_comptoir_zedivad &window, int longTicks)
{
    setPendingLines(db, 50);
    // Every tenth tick finds a board to rebuild and repaint, the others none.
    const auto tick = [&](int i) {
        if (i % 10 == 0)
            window.Groupe1->clear();
        window.Timer2Timer();
        QCoreApplication::processEvents();
    };
    for (int i = 0; i < 200; ++i)
        tick(i);
    const qint64 start = residentKiB();
    for (int i = 0; i < 1000; ++i)
        tick(i);
    const qint64 after1000 = residentKiB();
    QElapsedTimer clock;
    clock.start();
    for (int i = 1000; i < longTicks; ++i)
        tick(i);
    const qint64 afterLong = residentKiB();
    out << "\nResident size: " << start << " KiB after warming up, " << after1000
        << " KiB after 1,000 ticks, " << afterLong << " KiB after " << longTicks << " ticks (growth "
        << (afterLong - after1000) << " KiB, " << QString::number(double(clock.elapsed()) / 1000.0, 'f', 0)
        << " s)\n";
    out.flush();
}

void latency(TestDatabase &db, TVente_au_comptoir_zedivad &window)
{
    setPendingLines(db, 20);
    QList<qint64> samples;
    QSet<QString> seen;
    // A tile is painted in the paint event that follows its rebuild.
    class PaintWatch : public QObject
    {
    public:
        std::function<void()> onPaint;

    protected:
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, this, onPaint); // after the paint itself
            return false;
        }
    } watch;
    watch.onPaint = [&] {
        const qint64 now = wallMicroseconds();
        for (const PendingTile &tile : window.Groupe1->tiles()) {
            if (tile.article.startsWith(u't') && !seen.contains(tile.article)) {
                seen.insert(tile.article);
                samples.append(now - tile.article.mid(1).toLongLong());
            }
        }
    };
    window.Categories->installEventFilter(&watch);
    window.Timer2->start();

    const int count = 200;
    QProcess inserter;
    inserter.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    inserter.start(
        QCoreApplication::applicationFilePath(),
        { u"--insert"_s, db.databaseText(), db.settings().password, QString::number(count), u"150"_s });
    QElapsedTimer wall;
    wall.start();
    while ((inserter.state() != QProcess::NotRunning || samples.size() < count) && wall.elapsed() < 120000)
        waitFor(50);
    window.Timer2->stop();
    window.Categories->removeEventFilter(&watch);
    out << "\nFrom a line inserted by another process to its tile painted: " << figures(samples) << '\n';
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.value(0) == u"--insert"_s) {
        try {
            return runInserter(arguments.mid(1));
        } catch (const StationError &error) {
            QTextStream(stderr) << "bench_board --insert: " << error.message() << '\n';
            return 1;
        }
    }

    Options options;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--embedded"_s)
            options.embedded = true;
        else if (arguments.at(i) == u"--history"_s)
            options.history = arguments.value(++i).toInt();
        else if (arguments.at(i) == u"--parts"_s)
            options.parts = arguments.value(++i).split(u',');
        else if (arguments.at(i) == u"--long-ticks"_s)
            options.longTicks = arguments.value(++i).toInt();
    }
    ErrorBox::setPresenter([](const QString &message) { out << "error: " << message << '\n'; });

    try {
        QElapsedTimer clock;
        clock.start();
        TestDatabase db(TestDatabase::schema(),
                        options.embedded ? TestDatabase::Where::Embedded : TestDatabase::Where::Server);
        db.run(historyScript(options.history));
        out << "History of " << options.history << " validated lines made in "
            << QString::number(double(clock.elapsed()) / 1000.0, 'f', 1) << " s on " << db.databaseText()
            << '\n';
        out.flush();

        TVente_au_comptoir_zedivad window;
        window.UniConnection1.open(db.settings());
        window.cxDateEdit2->setDate(QDate::currentDate());
        window.show();
        QCoreApplication::processEvents();

        if (options.parts.contains(u"ticks"_s))
            tickCost(db, window);
        if (options.parts.contains(u"cpu"_s))
            cpuAtRest(db, window);
        if (options.parts.contains(u"memory"_s))
            memory(db, window, options.longTicks);
        if (options.parts.contains(u"latency"_s)) {
            if (options.embedded)
                out << "\n(latency needs a second process on the database: run without --embedded)\n";
            else
                latency(db, window);
        }
    } catch (const StationError &error) {
        out << "bench_board: " << error.message() << '\n';
        return 1;
    }
    return 0;
}
