#pragma once

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "calling/Announcer.h"
#include "calling/RecordingSink.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"
#include "data/QueryDataSource.h"
#include "forms/DateEdit.h"
#include "forms/GridView.h"
#include "forms/PendingTileModel.h"
#include "forms/StationButton.h"
#include "forms/TPassw.h"
#include "forms/TFAfficher_Numero.h"
#include "forms/TVente_au_comptoir_zedivad.h"
#include "forms/TileBoard.h"
#include "tickets/RecordingPrintTarget.h"
#include "tickets/TicketPrinting.h"

#include <QCheckBox>
#include <QFile>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

/// The station as the cook finds it after the login: the main window on a
/// real database in a working directory with the label layout, the customer
/// display created (closed), announcements going to a recording sink and
/// labels to a recording printer, the working date today.
struct StationFixture
{
    /// server: the database's server ("localhost/3061"); empty, as the environment says.
    explicit StationFixture(const QString &schema = TestDatabase::schema() + TestDatabase::users(),
                            const QString &server = QString())
        : db(schema, server.isEmpty() ? TestDatabase::serverFromEnvironment() : server)
        , directory(db)
    {
        QFile layout(QStringLiteral(":/tickets/Etiquette_2X4.fr3"));
        if (!layout.open(QIODevice::ReadOnly))
            qFatal("the built-in label layout is missing");
        directory.writeFile(QStringLiteral("Etat/Etiquette_2X4.fr3"), layout.readAll());

        window = std::make_unique<TVente_au_comptoir_zedivad>();
        window->UniConnection1.open(db.settings());
        auto recording = std::make_unique<RecordingSink>();
        sink = recording.get();
        window->setAnnouncer(std::make_unique<Announcer>(std::move(recording), ClipLibrary()));
        window->ticketPrinting().setPrintTarget(&printer);
        window->createCustomerDisplay();
        window->show();
    }

    ~StationFixture() { window.reset(); }

    /// The login's own steps for the cook "Cuisine": the user key, the
    /// option query, today into the working date (which reads the lists),
    /// then the board refresh on.
    void login()
    {
        DbQuery user(window->UniConnection1, TPassw::UTILISATSql);
        user.setParam(0, QStringLiteral("Cuisine"));
        user.setParam(1, QStringLiteral("1234"));
        user.open();
        if (user.isEmpty())
            qFatal("the fixture's cook cannot log in");
        TPassw::loginSucceeded(*window, user);
    }

    void openDisplay() { QTest::mouseClick(window->cxButton4, Qt::LeftButton); }

    /// Touches the first tile with that number (and that size, when given:
    /// an empty text for a NULL size); false when the board has none.
    bool touch(int number, std::optional<QString> size = std::nullopt, bool nullSize = false)
    {
        const QList<PendingTile> &tiles = window->Groupe1->tiles();
        for (int row = 0; row < tiles.size(); ++row) {
            const PendingTile &tile = tiles.at(row);
            if (tile.number == QString::number(number)
                && (!size || (tile.size == *size && tile.sizeIsNull == nullSize))) {
                TileBoard *board = window->Categories;
                board->setScrollOffset(0);
                const QRect rect = board->tileRect(row);
                if (!board->rect().contains(rect.center()))
                    return false;
                QTest::mouseClick(board, Qt::LeftButton, {}, rect.center());
                return true;
            }
        }
        return false;
    }

    int tilesNumbered(int number) const
    {
        int count = 0;
        for (const PendingTile &tile : window->Groupe1->tiles())
            count += tile.number == QString::number(number);
        return count;
    }

    /// The clips of every announcement so far, one list each.
    QList<QStringList> announcements() const
    {
        QList<QStringList> result;
        for (const RecordingSink::Stream &stream : sink->streams())
            result << stream.clips;
        return result;
    }

    /// The texts of every label printed so far, one list each.
    QList<QStringList> labels() const
    {
        QList<QStringList> result;
        for (const RecordingPrintTarget::Job &job : printer.jobs()) {
            QStringList texts;
            for (const PreparedLabel::Page &page : job.label.pages) {
                for (const PreparedLabel::Item &item : page.items)
                    texts << item.text;
            }
            result << texts;
        }
        return result;
    }

    QString valide(qint64 key) const { return field(key, QStringLiteral("VALIDE")).toText(); }
    DbValue timeOrder(qint64 key) const { return field(key, QStringLiteral("TIME_ORDER")); }

    DbValue field(qint64 key, const QString &name) const
    {
        auto connection = db.connect();
        DbQuery query(*connection,
                      QStringLiteral("select * from LISTE_COMMANDE where CLE_LISTE_COMMANDE = :K"));
        query.setParam(0, key);
        query.open();
        return query.field(name);
    }

    /// The displayed texts of one column of the validated-line grid, top row first.
    QStringList gridColumn(int column) const
    {
        const QAbstractItemModel *model = window->cxGrid2DBTableView1->model();
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    }

    int currentGridRow() const { return window->cxGrid2DBTableView1->currentIndex().row(); }

    /// An administrator ends the station's attachment: its next call fails as
    /// after a lost server.
    void cutConnection()
    {
        DbQuery me(window->UniConnection1, QStringLiteral("select CURRENT_CONNECTION from RDB$DATABASE"));
        me.open();
        auto admin = db.connect();
        DbStatement kill(*admin, QStringLiteral("delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :ID"));
        kill.setParam(0, me.field(QStringLiteral("CURRENT_CONNECTION")));
        if (kill.execute() != 1)
            qFatal("the station's attachment could not be ended");
    }

    TestDatabase db;
    TestWorkingDirectory directory;
    RecordingPrintTarget printer;
    RecordingSink *sink = nullptr;
    std::unique_ptr<TVente_au_comptoir_zedivad> window;
};
