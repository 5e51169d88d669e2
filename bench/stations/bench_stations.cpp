// bench-stations: several stations on one server. Starts a Firebird server of
// its own on a free loopback port (never the shared one) over a history of
// 1 000 000 lines with the counter-sale indexes, lets the counter-sale
// simulator write at a lunch-rush rate (a new line every 2 s on average), and
// runs N stations' polling loops (each its own attachment, the station's
// pending-lines query, 20 polls a second). Prints per N the poll latency
// median and p99, the server's CPU, and how many of the new lines reached
// each station's board within 100 ms of their commit.

#include "BenchFigures.h"
#include "CounterSaleSchema.h"
#include "OrderSimulator.h"
#include "PrivateServer.h"
#include "TestDatabase.h"
#include "app/StationError.h"
#include "data/DataModule.h"
#include "data/PendingTile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int linesPerDay = 1000;
constexpr auto pollPeriod = std::chrono::milliseconds(50);

double msSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

/// CPU seconds (user + system) a process has used so far.
double cpuSeconds(qint64 pid)
{
    return processCpuSeconds(pid).value_or(0);
}

/// The commit time of each order the simulator wrote, by order number.
struct Commits
{
    std::mutex mutex;
    std::map<int, Clock::time_point> at;
    int lines = 0;
};

struct StationResult
{
    std::vector<double> polls;
    int seen = 0; ///< new orders that reached the board
    int within100 = 0; ///< of those, within 100 ms of the commit
};

void station(const ConnectionSettings &settings, Commits &commits, std::atomic<bool> &stop,
             StationResult &result)
{
    DataModule module;
    module.UniConnection1.open(settings);
    const QDate today = QDate::currentDate();
    std::set<int> known;
    bool first = true;
    Clock::time_point next = Clock::now();
    while (!stop.load()) {
        const Clock::time_point start = Clock::now();
        module.Liste_article.close();
        module.Liste_article.setParam(0, DbValue(today));
        module.Liste_article.open();
        const QList<PendingTile> tiles = PendingTile::fromQuery(module.Liste_article);
        const Clock::time_point end = Clock::now();
        result.polls.push_back(msSince(start, end));
        for (const PendingTile &tile : tiles) {
            const int number = tile.number.toInt();
            if (!known.insert(number).second || first)
                continue;
            std::lock_guard lock(commits.mutex);
            const auto commit = commits.at.find(number);
            if (commit == commits.at.end())
                continue; // written before the run
            ++result.seen;
            if (msSince(commit->second, end) <= 100.0)
                ++result.within100;
        }
        first = false;
        next += pollPeriod;
        if (next < Clock::now())
            next = Clock::now();
        std::this_thread::sleep_until(next);
    }
}

void counterSale(const ConnectionSettings &settings, Commits &commits, std::atomic<bool> &stop, int msPerLine)
{
    DbConnection connection;
    connection.open(settings);
    OrderSimulator simulator(connection, quint32(Clock::now().time_since_epoch().count()));
    while (!stop.load()) {
        const int number = simulator.addOrder();
        const Clock::time_point committed = Clock::now();
        {
            std::lock_guard lock(commits.mutex);
            commits.at[number] = committed;
            commits.lines += simulator.lastOrderLines();
        }
        // an order of k lines, then k times the line interval: a line every msPerLine on average
        const auto wait = std::chrono::milliseconds(msPerLine * simulator.lastOrderLines());
        const Clock::time_point until = committed + wait;
        while (!stop.load() && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void makeHistory(const QString &file, int lines, QTextStream &out)
{
    // Made with the embedded engine before the server opens the file: one
    // process, one transaction, the indexes after the load.
    ConnectionSettings settings;
    settings.database = file;
    DbConnection connection;
    DbConnection::CreateOptions options;
    options.forcedWrites = false;
    connection.create(settings, options);
    CounterSaleSchema::Options schema;
    schema.indexes = false;
    CounterSaleSchema::ensure(connection, schema);
    QElapsedTimer timer;
    timer.start();
    OrderSimulator simulator(connection, 7);
    simulator.fillHistory(lines / linesPerDay, linesPerDay);
    for (int i = 0; i < 40; ++i)
        simulator.addOrder();
    CounterSaleSchema::ensureIndexes(connection);
    out << "made " << lines << " lines of history with the indexes in "
        << QString::number(double(timer.elapsed()) / 1000, 'f', 1) << " s" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Several stations polling one server during a lunch rush."));
    parser.addHelpOption();
    parser.addOptions({
        { QStringLiteral("lines"), QStringLiteral("History lines (default 1000000)"), QStringLiteral("n"),
          QStringLiteral("1000000") },
        { QStringLiteral("stations"), QStringLiteral("Station counts, comma-separated (default 1,4,8)"),
          QStringLiteral("list"), QStringLiteral("1,4,8") },
        { QStringLiteral("seconds"), QStringLiteral("Seconds of polling per station count (default 60)"),
          QStringLiteral("s"), QStringLiteral("60") },
        { QStringLiteral("line-every"), QStringLiteral("Milliseconds between new lines (default 2000)"),
          QStringLiteral("ms"), QStringLiteral("2000") },
        { QStringLiteral("keep"), QStringLiteral("Keep the history database in this folder and reuse it"),
          QStringLiteral("folder") },
    });
    parser.process(app);

    try {
        std::optional<QTemporaryDir> temporary;
        QString folder = parser.value(QStringLiteral("keep"));
        if (folder.isEmpty()) {
            temporary.emplace();
            folder = temporary->path();
        }
        QDir().mkpath(QFileInfo(folder).absoluteFilePath());
        const int lines = parser.value(QStringLiteral("lines")).toInt();
        const QString file = QDir(folder).absoluteFilePath(QStringLiteral("stations-%1.fdb").arg(lines));
        if (!QFileInfo::exists(file))
            makeHistory(file, lines, out);

        PrivateServer server;
        ConnectionSettings settings;
        settings.database = server.host() + QLatin1Char(':') + file;
        settings.password = TestDatabase::serverPassword();
        settings.callTimeoutSeconds = ConnectionSettings::stationCallTimeoutSeconds;
        const qint64 serverPid = server.processId();
        out << "server on port " << server.port() << ", " << lines << " lines of history" << Qt::endl;

        const int seconds = parser.value(QStringLiteral("seconds")).toInt();
        const int msPerLine = parser.value(QStringLiteral("line-every")).toInt();
        out << Qt::endl
            << "| stations | polls | poll median (ms) | poll p99 (ms) | server CPU (cores) | new orders | "
               "reached the "
               "board within 100 ms, per station |"
            << Qt::endl
            << "|---:|---:|---:|---:|---:|---:|---|" << Qt::endl;
        for (const QString &countText : parser.value(QStringLiteral("stations")).split(QLatin1Char(','))) {
            const int count = countText.toInt();
            Commits commits;
            std::atomic<bool> stop { false };
            std::vector<StationResult> results(static_cast<size_t>(count));
            std::vector<std::thread> threads;
            for (int i = 0; i < count; ++i)
                threads.emplace_back(station, std::cref(settings), std::ref(commits), std::ref(stop),
                                     std::ref(results[size_t(i)]));
            // the stations attach and take their first look before the rush starts
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const double cpuBefore = cpuSeconds(serverPid);
            const Clock::time_point start = Clock::now();
            std::thread writer(counterSale, std::cref(settings), std::ref(commits), std::ref(stop),
                               msPerLine);
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            const double cpu = (cpuSeconds(serverPid) - cpuBefore) / (msSince(start, Clock::now()) / 1000);
            stop = true;
            writer.join();
            for (std::thread &thread : threads)
                thread.join();

            std::vector<double> all;
            QStringList reached;
            for (const StationResult &result : results) {
                // skip each station's first second: attaching and warming up
                all.insert(all.end(), result.polls.begin() + std::min<size_t>(20, result.polls.size()),
                           result.polls.end());
                reached << QStringLiteral("%1/%2").arg(result.within100).arg(result.seen);
            }
            out << "| " << count << " | " << all.size() << " | "
                << QString::number(percentile(all, 0.5), 'f', 3) << " | "
                << QString::number(percentile(all, 0.99), 'f', 3) << " | " << QString::number(cpu, 'f', 2)
                << " | " << commits.at.size() << " (" << commits.lines << " lines) | " << reached.join(u' ')
                << " |" << Qt::endl;
        }
        return 0;
    } catch (const StationError &error) {
        out << "bench-stations: " << error.message() << Qt::endl;
        return 1;
    }
}
