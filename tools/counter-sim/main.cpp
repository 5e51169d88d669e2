// counter-sim: stands in for the counter-sale system on a demo or test
// database. Creates the three tables when they are missing, adds the demo
// users, fills past days when asked, then adds orders at a chosen rate.

#include "CounterSaleSchema.h"
#include "OrderSimulator.h"
#include "app/StationError.h"
#include "data/DbConnection.h"
#include "data/DbError.h"
#include "data/StopSignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <atomic>

namespace {

std::atomic<bool> stopRequested {false};

int intOption(const QCommandLineParser &parser, const QString &name)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < 0)
        throw StationError(QStringLiteral("--%1 wants a whole number, not \"%2\"").arg(name, parser.value(name)));
    return value;
}

bool isLocalPath(const QString &database)
{
    // "host:/path" and "host/port:/path" go to a server; a plain path is a file here
    const qsizetype colon = database.indexOf(QLatin1Char(':'));
    return colon < 0 || database.startsWith(QLatin1Char('/'));
}

} // namespace

int main(int argc, char *argv[])
{
    // before any thread starts: Ctrl-C and kill end the simulator through its
    // event loop, the database detached
    StopSignals::install([] { stopRequested = true; });
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("counter-sim"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Stands in for the counter-sale system: creates the tables LISTE_COMMANDE, UTILISA and "
        "OPTION_LOCALS_UTILISATEUR when missing (a plain path that does not exist yet becomes a new embedded "
        "database), adds users, fills past days, then adds orders of today at a chosen rate until stopped."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"), QStringLiteral("A file path, or host:/path for a server"));
    parser.addOptions({
        {QStringLiteral("password"), QStringLiteral("SYSDBA's password (default masterkey)"), QStringLiteral("text"),
         QStringLiteral("masterkey")},
        {QStringLiteral("codepage"), QStringLiteral("Code page of the database's texts (default windows-1256)"),
         QStringLiteral("name"), QStringLiteral("windows-1256")},
        {QStringLiteral("no-index"), QStringLiteral("Create no index on DATE_VENTE and NUM_VENTE")},
        {QStringLiteral("timestamp-dates"), QStringLiteral("New table: DATE_VENTE as TIMESTAMP instead of DATE")},
        {QStringLiteral("history-days"), QStringLiteral("Fill that many days before today"), QStringLiteral("n"),
         QStringLiteral("0")},
        {QStringLiteral("lines-per-day"), QStringLiteral("Lines of each past day (default 200)"), QStringLiteral("n"),
         QStringLiteral("200")},
        {QStringLiteral("rate"), QStringLiteral("New orders per minute (default 6; 0: none)"), QStringLiteral("n"),
         QStringLiteral("6")},
        {QStringLiteral("orders"), QStringLiteral("Stop after that many new orders (default: no limit)"),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the random choices (default 1)"), QStringLiteral("n"),
         QStringLiteral("1")},
    });
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        err << parser.helpText();
        return 2;
    }

    try {
        ConnectionSettings settings;
        settings.database = parser.positionalArguments().constFirst();
        settings.password = parser.value(QStringLiteral("password"));
        settings.codepage = parser.value(QStringLiteral("codepage"));
        const int historyDays = intOption(parser, QStringLiteral("history-days"));
        const int linesPerDay = intOption(parser, QStringLiteral("lines-per-day"));
        const int rate = intOption(parser, QStringLiteral("rate"));
        const int orderLimit = intOption(parser, QStringLiteral("orders"));
        const int seed = intOption(parser, QStringLiteral("seed"));

        DbConnection connection;
        if (isLocalPath(settings.database) && !QFileInfo::exists(settings.database)) {
            DbConnection::CreateOptions options;
            // a demo or benchmark file: bulk loads matter more than surviving a power cut
            options.forcedWrites = false;
            connection.create(settings, options);
            out << "created database " << settings.database << Qt::endl;
        } else {
            connection.open(settings);
        }

        CounterSaleSchema::Options schema;
        schema.indexes = false; // after the history: a bulk load is faster without them
        schema.dateVenteAsTimestamp = parser.isSet(QStringLiteral("timestamp-dates"));
        for (const QString &created : CounterSaleSchema::ensure(connection, schema))
            out << "created " << created << Qt::endl;
        if (CounterSaleSchema::ensureUsers(connection))
            out << "added the users admin, Cuisine, طباخ and the blocked Ancien" << Qt::endl;

        OrderSimulator simulator(connection, quint32(seed));
        if (historyDays > 0) {
            QElapsedTimer timer;
            timer.start();
            const qint64 lines = simulator.fillHistory(historyDays, linesPerDay);
            out << "history: " << lines << " lines over " << historyDays << " days in "
                << QString::number(double(timer.elapsed()) / 1000, 'f', 1) << " s" << Qt::endl;
        }
        if (!parser.isSet(QStringLiteral("no-index"))) {
            for (const QString &created : CounterSaleSchema::ensureIndexes(connection))
                out << "created " << created << Qt::endl;
        }
        if (rate == 0)
            return 0;

        int orders = 0;
        QTimer orderTimer;
        orderTimer.setInterval(60000 / rate);
        const auto addOrder = [&] {
            try {
                const int number = simulator.addOrder();
                out << QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) << " order " << number << ": "
                    << simulator.lastOrderLines() << " lines" << Qt::endl;
            } catch (const DbError &error) {
                // a lost server or a locked table: say so and try again at the next order
                err << error.message() << Qt::endl;
                if (error.isConnectionLost()) {
                    try {
                        connection.reconnect();
                    } catch (const StationError &again) {
                        err << again.message() << Qt::endl;
                    }
                }
            }
            if (orderLimit > 0 && ++orders >= orderLimit)
                QCoreApplication::quit();
        };
        QObject::connect(&orderTimer, &QTimer::timeout, &app, addOrder);
        QTimer stopWatch;
        QObject::connect(&stopWatch, &QTimer::timeout, &app, [] {
            if (stopRequested)
                QCoreApplication::quit();
        });
        stopWatch.start(100);
        addOrder();
        if (orderLimit > 0 && orders >= orderLimit)
            return 0;
        orderTimer.start();
        return app.exec();
    } catch (const StationError &error) {
        err << error.message() << Qt::endl;
        return 1;
    }
}
