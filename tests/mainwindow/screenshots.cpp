// mainwindow-screenshots OUTPUT_FOLDER: pictures of the main window for a
// person to look at (run under xvfb-run with QT_QPA_PLATFORM=xcb):
//   window-at-rest.png   after start-up, before any login: the placeholder tile;
//   window-30-tiles.png  the board with 30 pending lines of today;
//   window-no-sound.png  the same after a call with no sound device: the status bar says so.

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "app/Fonts.h"
#include "calling/Announcer.h"
#include "calling/ClipLibrary.h"
#include "calling/RecordingSink.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/PendingTileModel.h"
#include "forms/TPassw.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QLocale>
#include <QTextStream>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QString output = QDir(QApplication::arguments().value(1, u"."_s)).absolutePath();
    QDir().mkpath(output);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Fonts::substituteMissingFamilies();
    ErrorBox::setPresenter([&err](const QString &message) { err << "error: " << message << '\n'; });

    try {
        TestDatabase db(TestDatabase::schema(), TestDatabase::Where::Embedded);
        const QStringList articles = {
            u"Pizza Margherita"_s, u"Tajine poulet olives"_s,
            u"Couscous royal"_s,   u"Chawarma"_s,
            u"طاجين دجاج"_s,       u"Frites"_s,
            u"Salade niçoise"_s,   u"Burger double cheddar"_s,
            u"كسكس بالخضر"_s,      u"Brochettes d'agneau"_s,
            u"Omelette"_s,         u"Crêpe chocolat banane"_s,
        };
        // Windows colour values, as the counter-sale system stores them (0x00BBGGRR).
        const QList<int> colours
            = { 0x00FFFF, 0x80FF80, 0xFFC080, 0x80C0FF, 0xFF80FF, 0xC0C0C0, 0x0080FF, 0xFFFF80 };
        const QList<double> quantities = { 1, 2, 1, 0.5, 3, 1, 1.5, 1 };
        for (int i = 0; i < 30; ++i) {
            db.insertLine({ .NUM_VENTE = 101 + i / 2,
                            .NUMERO_TABLE = double(1 + i % 12),
                            .COLOR = colours.at(i % colours.size()),
                            .CLE_ART = 200 + i % articles.size(),
                            .ARTICLE = articles.at(i % articles.size()),
                            .QTE = quantities.at(i % quantities.size()) });
        }

        TestWorkingDirectory work(db, u"Serveur cuisine"_s);
        TVente_au_comptoir_zedivad window;
        // The start-up ends on the login dialog: quit it, for the window at rest.
        QTimer loginQuitter;
        QObject::connect(&loginQuitter, &QTimer::timeout, &window, [] {
            if (auto *login = qobject_cast<TPassw *>(QApplication::activeModalWidget()))
                login->cxButton1Click();
        });
        loginQuitter.start(20);
        window.ForcatmCreate();
        window.show();
        while (window.Timer1->isActive())
            settle(50);
        settle(500);
        window.grab().save(output + u"/window-at-rest.png"_s);

        window.cxDateEdit2->setDate(QDate::currentDate());
        window.categor();
        settle(500);
        window.grab().save(output + u"/window-30-tiles.png"_s);

        auto silent = std::make_unique<RecordingSink>();
        silent->setAvailable(false);
        window.setAnnouncer(std::make_unique<Announcer>(std::move(silent), ClipLibrary()));
        window.appel(101);
        settle(200);
        window.grab().save(output + u"/window-no-sound.png"_s);
        err << "wrote " << output << "/window-at-rest.png, window-30-tiles.png and window-no-sound.png ("
            << window.Groupe1->rowCount() << " tiles)\n";
    } catch (const StationError &error) {
        err << "mainwindow-screenshots: " << error.message() << '\n';
        return 1;
    }
    return 0;
}
