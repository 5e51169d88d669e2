// bench_validation: how long the cook waits, from the touch on a tile to the
// order number painted on the customer display.
//
//   bench_validation [--embedded] [--history N] [--touches N]
//
// On a database of N validated lines of history (1,000,000 by default, 1000
// a day on the days before today, order numbers starting again every day),
// with the counter-sale system's indexes on DATE_VENTE and NUM_VENTE and then
// once more without the one on NUM_VENTE, the station's main window (shown,
// offscreen) with the customer display open is touched on one tile after the
// other of today's pending lines. Each sample runs from the mouse press on the
// tile to the end of the paint of the display's number; the figures beside it
// are the whole touch (the rest of the handling: pending events and the
// announcement into a recording sink, printing off) and the plans the server
// chose for the validation and the re-read of the validated lines.
//
// The database is on the Firebird server on loopback (as at a restaurant)
// unless --embedded is given; the server must be running
// (scripts/services/firebird-server.sh start).

#include "BenchFigures.h"
#include "TestDatabase.h"
#include "calling/Announcer.h"
#include "calling/RecordingSink.h"
#include "data/DbStatement.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/PendingTileModel.h"
#include "forms/StationButton.h"
#include "forms/TFAfficher_Numero.h"
#include "forms/TVente_au_comptoir_zedivad.h"
#include "forms/TileBoard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QTextStream out(stdout);

struct Options
{
    bool embedded = false;
    int history = 1000000;
    int touches = 300;
};

/// count order lines in one block: the number, date, state and validation
/// time of line :I are SQL expressions; the articles 100 to 119 in size M.
QString linesScript(int count, const QString &number, const QString &date, const QString &valide,
                    const QString &timeOrder)
{
    return uR"(SET TERM ^ ;
EXECUTE BLOCK AS
DECLARE I INTEGER = 0;
BEGIN
  WHILE (I < %1) DO BEGIN
    INSERT INTO LISTE_COMMANDE (NUM_VENTE, DATE_VENTE, TIME_VENTE, NUMERO_TABLE, VALIDE, COLOR, CUISEN, PRIX,
                                CLE_ART, ARTICLE, QTE, TIME_ORDER, WAJBA_ORDER, TAILLE)
    VALUES (%2, %3, '12:00:00', 1, %4, 65535, 'Grill', 10, 100 + MOD(:I, 20), 'Article ' || MOD(:I, 20), 1, %5, 0,
            'M');
    I = I + 1;
  END
END^
SET TERM ; ^
)"_s.arg(QString::number(count), number, date, valide, timeOrder);
}

/// Validated lines of the days before today, 1000 a day; the numbers 1 to 500
/// come back every day with the articles of today's lines.
QString historyScript(int lines)
{
    return linesScript(lines, u"MOD(:I, 500) + 1"_s, u"DATEADD(-1 - :I / 1000 DAY TO CURRENT_DATE)"_s,
                       u"'True'"_s, u"'12:05:00'"_s);
}

/// Today: count pending lines numbered from 1, nothing validated yet.
QString todayScript(int count)
{
    return u"DELETE FROM LISTE_COMMANDE WHERE DATE_VENTE = CURRENT_DATE;\n"_s
        + linesScript(count, u":I + 1"_s, u"CURRENT_DATE"_s, u"'False'"_s, u"NULL"_s);
}

QString milliseconds(const QList<qint64> &nanoseconds, double quantile)
{
    return QString::number(percentile(nanoseconds, quantile) / 1e6, 'f', 2) + u" ms"_s;
}

/// Times the paint of the display's number: the paint runs inside the filter,
/// so the time taken after it includes the drawing of the digits.
class NumberPaintClock : public QObject
{
public:
    NumberPaintClock(QLabel *number, const QElapsedTimer &clock)
        : m_number(number)
        , m_clock(clock)
    {
        number->installEventFilter(this);
    }

    void expect(const QString &text)
    {
        m_expected = text;
        m_paintedAt = -1;
    }
    qint64 paintedAt() const { return m_paintedAt; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_number || event->type() != QEvent::Paint || m_inside)
            return false;
        m_inside = true;
        static_cast<QObject *>(m_number)->event(event); // QLabel's own paint
        m_inside = false;
        if (m_paintedAt < 0 && m_number->text() == m_expected)
            m_paintedAt = m_clock.nsecsElapsed();
        return true;
    }

private:
    QLabel *m_number;
    const QElapsedTimer &m_clock;
    QString m_expected;
    qint64 m_paintedAt = -1;
    bool m_inside = false;
};

void click(QWidget *widget, QPoint at)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void touchRun(TestDatabase &db, TVente_au_comptoir_zedivad &window, const QString &title, int touches)
{
    db.run(todayScript(touches));
    window.cxDateEdit2->clearDate();
    window.cxDateEdit2->setDate(QDate::currentDate());
    window.Timer2->stop();
    window.categor();
    QCoreApplication::processEvents();

    auto *number = window.FAfficher_Numero()->findChild<QLabel *>(u"number"_s);
    QElapsedTimer clock;
    clock.start();
    NumberPaintClock paints(number, clock);
    QList<qint64> toPaint;
    QList<qint64> whole;
    int missed = 0;
    for (int i = 0; i < touches && window.Groupe1->rowCount() > 0; ++i) {
        const PendingTile tile = window.Groupe1->tile(0);
        paints.expect(tile.number);
        const qint64 start = clock.nsecsElapsed();
        click(window.Categories, window.Categories->tileRect(0).center());
        const qint64 end = clock.nsecsElapsed();
        window.Timer2->stop(); // the touch switched it on again; the board is rebuilt below
        if (paints.paintedAt() < 0) {
            ++missed;
        } else {
            toPaint.append(paints.paintedAt() - start);
            whole.append(end - start);
        }
        window.categor();
        QCoreApplication::processEvents();
    }

    out << '\n' << title << ":\n";
    out << "  validation plan: " << window.Update_commande.plan().simplified() << '\n';
    out << "  validated-lines plan: " << window.Liste_Commande.plan().simplified() << '\n';
    if (toPaint.isEmpty()) {
        out << "  no touch reached the display (" << missed << " missed)\n";
        return;
    }
    out << "  touch to number painted: median " << milliseconds(toPaint, 0.5) << ", p90 "
        << milliseconds(toPaint, 0.9) << ", p99 " << milliseconds(toPaint, 0.99) << " (" << toPaint.size()
        << " touches";
    if (missed > 0)
        out << ", " << missed << " did not paint";
    out << ")\n";
    out << "  whole touch (to the announcement's end, recording sink): median " << milliseconds(whole, 0.5)
        << ", p99 " << milliseconds(whole, 0.99) << '\n';
    out.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Options options;
    const QStringList arguments = app.arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--embedded"_s)
            options.embedded = true;
        else if (arguments.at(i) == u"--history"_s)
            options.history = arguments.value(++i).toInt();
        else if (arguments.at(i) == u"--touches"_s)
            options.touches = arguments.value(++i).toInt();
        else {
            out << "usage: bench_validation [--embedded] [--history N] [--touches N]\n";
            return 2;
        }
    }

    QStringList errors;
    ErrorBox::setPresenter([&errors](const QString &message) { errors << message; });
    try {
        TestDatabase db(TestDatabase::schema(),
                        options.embedded ? TestDatabase::Where::Embedded : TestDatabase::Where::Server);
        QElapsedTimer made;
        made.start();
        db.run(historyScript(options.history));
        out << "History of " << options.history << " validated lines made in "
            << QString::number(double(made.elapsed()) / 1000.0, 'f', 1) << " s on " << db.databaseText()
            << '\n';
        out.flush();

        TVente_au_comptoir_zedivad window;
        window.UniConnection1.open(db.settings());
        window.setAnnouncer(std::make_unique<Announcer>(std::make_unique<RecordingSink>(), ClipLibrary()));
        window.createCustomerDisplay();
        window.show();
        window.cxButton4->click();
        QCoreApplication::processEvents();

        touchRun(db, window, u"With the indexes on DATE_VENTE and NUM_VENTE"_s, options.touches);
        // the station lets go of its statements, which hold the index
        window.UniConnection1.close();
        db.run(u"DROP INDEX IDX_LISTE_COMMANDE_NUM_VENTE;"_s);
        window.UniConnection1.reconnect();
        touchRun(db, window, u"Without the index on NUM_VENTE"_s, options.touches);
    } catch (const StationError &error) {
        out << "failed: " << error.message() << '\n';
        return 1;
    }
    for (const QString &error : std::as_const(errors))
        out << "error shown: " << error << '\n';
    return errors.isEmpty() ? 0 : 1;
}
