// bench-poll: how long one refresh of the board takes (run the pending-lines
// query, fetch its rows, build the tiles) on histories of 10 000, 100 000
// and 1 000 000 lines, with the date filter written as a cast and as a
// range, with and without the index on DATE_VENTE. Prints median and 99th
// percentile per poll, and the ratio of the two filters.

#include "BenchFigures.h"
#include "CounterSaleSchema.h"
#include "OrderSimulator.h"
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
#include <optional>

namespace {

// The filter the station's texts were first written with: the cast hides the
// column from any index.
const QString castFilterSql = QStringLiteral(
    "Select *\n"
    "From  LISTE_COMMANDE\n"
    "where (VALIDE<>'True') And ( Cast(DATE_VENTE as date) =:DATE_VENTE)and (CUISEN<>'')\n");

constexpr int linesPerDay = 1000;
constexpr int todayOrders = 40;

struct Figures
{
    double median;
    double p99;
    int polls;
    int tiles;
};

Figures summary(const QList<double> &times, int tiles)
{
    return {percentile(times, 0.5), percentile(times, 0.99), int(times.size()), tiles};
}

// The two queries polled in turn, so that whatever else the machine does
// weighs on both alike.
std::pair<Figures, Figures> measure(DbQuery &first, DbQuery &second, QDate today, double budgetMs)
{
    const auto poll = [&](DbQuery &query) {
        query.close();
        query.setParam(0, today);
        query.open();
        return int(PendingTile::fromQuery(query).size());
    };
    for (int i = 0; i < 3; ++i) { // warm the cache
        poll(first);
        poll(second);
    }
    QList<double> firstTimes;
    QList<double> secondTimes;
    int firstTiles = 0;
    int secondTiles = 0;
    QElapsedTimer total;
    total.start();
    while (firstTimes.size() < 1000 && (firstTimes.size() < 20 || total.elapsed() < budgetMs)) {
        QElapsedTimer timer;
        timer.start();
        firstTiles = poll(first);
        firstTimes.append(double(timer.nsecsElapsed()) / 1e6);
        timer.start();
        secondTiles = poll(second);
        secondTimes.append(double(timer.nsecsElapsed()) / 1e6);
    }
    return {summary(firstTimes, firstTiles), summary(secondTimes, secondTiles)};
}

void makeHistory(const ConnectionSettings &settings, int lines, QTextStream &out)
{
    DbConnection connection;
    DbConnection::CreateOptions options;
    options.forcedWrites = false;
    connection.create(settings, options);
    CounterSaleSchema::Options schema;
    schema.indexes = false;
    CounterSaleSchema::ensure(connection, schema);
    OrderSimulator simulator(connection, 7);
    QElapsedTimer timer;
    timer.start();
    simulator.fillHistory(lines / linesPerDay, linesPerDay);
    const double fill = double(timer.elapsed()) / 1000;
    for (int i = 0; i < todayOrders; ++i)
        simulator.addOrder();
    CounterSaleSchema::ensureIndexes(connection);
    out << "  made " << lines << " lines of history in " << QString::number(fill, 'f', 1) << " s ("
        << QString::number(double(lines) / fill, 'f', 0) << " lines/s), indexes in "
        << QString::number(double(timer.elapsed()) / 1000 - fill, 'f', 1) << " s" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times the board's poll on long order histories."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("sizes"), QStringLiteral("History sizes, comma-separated (default 10000,100000,1000000)"),
         QStringLiteral("list"), QStringLiteral("10000,100000,1000000")},
        {QStringLiteral("keep"), QStringLiteral("Keep the databases in this folder and reuse them next time"),
         QStringLiteral("folder")},
        {QStringLiteral("server"), QStringLiteral("Go through the server on this host (\"localhost\") instead of the "
                                                  "embedded engine; the folder must be open to the server's user"),
         QStringLiteral("host")},
        {QStringLiteral("password"), QStringLiteral("SYSDBA's password for --server"), QStringLiteral("text"),
         QStringLiteral("masterkey")},
        {QStringLiteral("budget"), QStringLiteral("Milliseconds spent polling each case (default 3000)"),
         QStringLiteral("ms"), QStringLiteral("3000")},
    });
    parser.process(app);

    try {
        std::optional<QTemporaryDir> temporary;
        QString folder = parser.value(QStringLiteral("keep"));
        if (folder.isEmpty()) {
            temporary.emplace();
            folder = temporary->path();
        }
        QDir().mkpath(folder);
        const double budget = parser.value(QStringLiteral("budget")).toDouble();
        const QDate today = QDate::currentDate();

        struct Row
        {
            int lines;
            bool index;
            Figures cast;
            Figures range;
        };
        QList<Row> rows;
        for (const QString &sizeText : parser.value(QStringLiteral("sizes")).split(QLatin1Char(','))) {
            const int lines = sizeText.toInt();
            const QString file = QDir(folder).absoluteFilePath(QStringLiteral("poll-%1.fdb").arg(lines));
            ConnectionSettings settings;
            settings.password = parser.value(QStringLiteral("password"));
            settings.database = parser.isSet(QStringLiteral("server"))
                                    ? parser.value(QStringLiteral("server")) + QLatin1Char(':') + file
                                    : file;
            out << lines << " lines:" << Qt::endl;
            if (!QFileInfo::exists(file))
                makeHistory(settings, lines, out);

            DataModule module;
            module.UniConnection1.open(settings);
            {
                // a kept database made on another day: give it orders of today
                DbQuery todays(module.UniConnection1,
                               QStringLiteral("select count(*) from LISTE_COMMANDE where DATE_VENTE = :D"));
                todays.setParam(0, today);
                todays.open();
                if (todays.row(0).at(0).toInteger() == 0) {
                    OrderSimulator simulator(module.UniConnection1, 7);
                    for (int i = 0; i < todayOrders; ++i)
                        simulator.addOrder();
                }
            }
            DbQuery castQuery(module.UniConnection1, castFilterSql);
            for (const bool index : {true, false}) {
                if (!index)
                    module.UniConnection1.executeScript(
                        QStringLiteral("ALTER INDEX IDX_LISTE_COMMANDE_DATE_VENTE INACTIVE;"));
                // a changed index set needs new plans
                module.UniConnection1.reconnect();
                const auto [cast, range] = measure(castQuery, module.Liste_article, today, budget);
                Row row {lines, index, cast, range};
                out << "  " << (index ? "with" : "without") << " index: cast " << castQuery.plan() << "; range "
                    << module.Liste_article.plan() << Qt::endl;
                rows.append(row);
            }
            module.UniConnection1.executeScript(QStringLiteral("ALTER INDEX IDX_LISTE_COMMANDE_DATE_VENTE ACTIVE;"));
        }

        out << Qt::endl
            << "| history lines | index on DATE_VENTE | cast filter median / p99 (ms) | range filter median / p99 (ms) "
               "| cast / range (median) | tiles | polls |"
            << Qt::endl
            << "|---:|---|---:|---:|---:|---:|---:|" << Qt::endl;
        // polls per case: at least 20, then as many as the budget allows (at most 1000)
        for (const Row &row : rows) {
            const auto figures = [](const Figures &f) {
                return QStringLiteral("%1 / %2").arg(f.median, 0, 'f', 3).arg(f.p99, 0, 'f', 3);
            };
            out << "| " << row.lines << " | " << (row.index ? "yes" : "no") << " | " << figures(row.cast) << " | "
                << figures(row.range) << " | " << QString::number(row.cast.median / row.range.median, 'f', 1)
                << " | " << row.range.tiles << " | " << row.range.polls << " |" << Qt::endl;
        }
        return 0;
    } catch (const StationError &error) {
        QTextStream(stderr) << error.message() << Qt::endl;
        return 1;
    }
}
