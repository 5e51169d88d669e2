// bench-soak: a long run of the main window on a real (embedded) database:
// board ticks one after another, a new order line written by "the counter"
// and validated by a touch every few hundred ticks, announcements to a sink
// that drops the sound. Prints the resident memory every 10 000 ticks and its
// growth after the warm-up. Built with the asan preset it runs under
// AddressSanitizer and LeakSanitizer, which report any error or leak at the end.

#include "BenchFigures.h"
#include "TestDatabase.h"
#include "app/StationError.h"
#include "calling/Announcer.h"
#include "calling/AudioSink.h"
#include "calling/ClipLibrary.h"
#include "data/DbQuery.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/PendingTileModel.h"
#include "forms/TPassw.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

namespace {

/// Plays nothing and keeps nothing.
class DroppingSink : public AudioSink
{
public:
    bool open(const AudioFormat &) override { return true; }
    void write(const QString &, QByteArrayView) override { }
    void close() override { }
    QString errorString() const override { return QString(); }
};

double residentMiB()
{
    return double(std::max<qint64>(0, residentKiB())) / 1024.0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Board ticks and validations in a long run."));
    parser.addHelpOption();
    parser.addOptions({
        { QStringLiteral("ticks"), QStringLiteral("Board ticks (default 100000)"), QStringLiteral("n"),
          QStringLiteral("100000") },
        { QStringLiteral("validate-every"), QStringLiteral("Ticks between validations (default 300)"),
          QStringLiteral("n"), QStringLiteral("300") },
        { QStringLiteral("warm-up"), QStringLiteral("Ticks before the memory baseline (default 30000)"),
          QStringLiteral("n"), QStringLiteral("30000") },
    });
    parser.process(app);
    const int ticks = parser.value(QStringLiteral("ticks")).toInt();
    const int every = std::max(1, parser.value(QStringLiteral("validate-every")).toInt());
    const int warmUp = std::min(ticks, parser.value(QStringLiteral("warm-up")).toInt());

    int errors = 0;
    ErrorBox::setPresenter([&](const QString &message) {
        ++errors;
        out << "error: " << message << Qt::endl;
    });
    try {
        TestDatabase db(TestDatabase::schema() + TestDatabase::users(), TestDatabase::Where::Embedded);
        // 40 pending lines, as during a busy service
        for (int i = 1; i <= 40; ++i)
            db.insertLine({ .NUM_VENTE = i });
        {
            auto window = std::make_unique<TVente_au_comptoir_zedivad>();
            window->UniConnection1.open(db.settings());
            window->setAnnouncer(
                std::make_unique<Announcer>(std::make_unique<DroppingSink>(), ClipLibrary()));
            window->createCustomerDisplay();
            window->show();
            DbQuery user(window->UniConnection1, TPassw::UTILISATSql);
            user.setParam(0, QStringLiteral("Cuisine"));
            user.setParam(1, QStringLiteral("1234"));
            user.open();
            TPassw::loginSucceeded(*window, user);
            // the ticks are driven here, one after another, not by the 50 ms timer
            window->Timer2->stop();
            window->cxButton4Click();
            window->cxCheckBox12->setChecked(false);

            int validations = 0;
            int number = 40;
            double baseline = 0;
            QElapsedTimer timer;
            timer.start();
            out << "| ticks | validations | resident (MiB) | ms per tick |" << Qt::endl
                << "|---:|---:|---:|---:|" << Qt::endl;
            qint64 lastElapsed = 0;
            int lastTick = 0;
            for (int tick = 1; tick <= ticks; ++tick) {
                window->Timer2Timer();
                QCoreApplication::processEvents();
                if (tick % every == 0) {
                    // the counter writes one line, the cook touches the oldest tile
                    db.insertLine({ .NUM_VENTE = ++number });
                    const QList<PendingTile> &tiles = window->Groupe1->tiles();
                    if (!tiles.isEmpty()) {
                        const PendingTile tile = tiles.first();
                        ErrorBox::guard([&] { window->ArticlesClick(tile); });
                        window->Timer2->stop();
                        ++validations;
                    }
                }
                if (tick == warmUp)
                    baseline = residentMiB();
                if (tick % 10000 == 0 || tick == ticks) {
                    const qint64 elapsed = timer.elapsed();
                    out << "| " << tick << " | " << validations << " | "
                        << QString::number(residentMiB(), 'f', 2) << " | "
                        << QString::number(double(elapsed - lastElapsed) / double(tick - lastTick), 'f', 3)
                        << " |" << Qt::endl;
                    lastElapsed = elapsed;
                    lastTick = tick;
                }
            }
            const double end = residentMiB();
            out << Qt::endl
                << "resident after the warm-up (" << warmUp
                << " ticks): " << QString::number(baseline, 'f', 2)
                << " MiB, at the end: " << QString::number(end, 'f', 2) << " MiB, growth "
                << QString::number((end - baseline) * 1024.0, 'f', 0) << " KiB; " << validations
                << " validations, " << errors << " errors, "
                << QString::number(double(timer.elapsed()) / 1000, 'f', 1) << " s" << Qt::endl;
        }
    } catch (const StationError &error) {
        out << "bench-soak: " << error.message() << Qt::endl;
        return 1;
    }
    ErrorBox::setPresenter({});
    return errors == 0 ? 0 : 1;
}
