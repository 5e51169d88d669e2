// The board against a real database: which lines become tiles and with what
// values, the working date, lines added or validated by another program
// between two ticks, and a database error during a tick.

#include "PaintCounter.h"
#include "TestDatabase.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/PendingTileModel.h"
#include "forms/TVente_au_comptoir_zedivad.h"
#include "forms/TileBoard.h"

#include <QLabel>
#include <QLocale>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QDate today = QDate::currentDate();

/// The tile with that number, if the board has one.
std::optional<PendingTile> tileNumbered(const PendingTileModel &model, int number)
{
    for (const PendingTile &tile : model.tiles()) {
        if (tile.number == QString::number(number))
            return tile;
    }
    return std::nullopt;
}

int tilesNumbered(const PendingTileModel &model, int number)
{
    int count = 0;
    for (const PendingTile &tile : model.tiles())
        count += tile.number == QString::number(number);
    return count;
}

} // namespace

class BoardRefreshTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void lines_data();
    void lines();
    void identicalLinesGiveTwoTiles();
    void databaseOrder();
    void workingDate();
    void emptyDateNeedsNoDatabase();
    void otherProgramBetweenTicks();
    void unchangedBoardIsNotRepainted();
    void databaseErrorDuringTick();
    void lostConnectionComesBack();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TVente_au_comptoir_zedivad> m_window;
    QStringList m_errorBoxes;
};

namespace {

/// An article name as long as the column holds, in Arabic letters.
QString longArabicArticle()
{
    const QString word = u"شاورما دجاج "_s; // 12 letters with the blank
    QString article;
    while (article.size() < 150)
        article += word;
    return article.left(150);
}

} // namespace

void BoardRefreshTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // The quantity's decimal separator is the system's; the station runs in French.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ErrorBox::setPresenter([this](const QString &message) { m_errorBoxes.append(message); });

    m_db = std::make_unique<TestDatabase>();
    const auto line = [this](FixtureLine line) { m_db->insertLine(line); };
    line({ .NUM_VENTE = 5,
           .COLOR = 0x0000FF,
           .CLE_ART = 12,
           .ARTICLE = u"Pizza Reine"_s,
           .QTE = 2.0,
           .TAILLE = u"L"_s });
    line({ .NUM_VENTE = 0 });
    line({ .NUM_VENTE = DbValue() });
    line({ .NUM_VENTE = 6, .VALIDE = DbValue() });
    line({ .NUM_VENTE = 7, .VALIDE = u"True"_s });
    line({ .NUM_VENTE = 8, .VALIDE = u"true"_s });
    line({ .NUM_VENTE = 9, .CUISEN = u""_s });
    line({ .NUM_VENTE = 10, .DATE_VENTE = today.addDays(-1) });
    line({ .NUM_VENTE = 11, .QTE = 2.5 });
    line({ .NUM_VENTE = 12, .COLOR = 0 });
    line({ .NUM_VENTE = 13, .TAILLE = DbValue() });
    line({ .NUM_VENTE = 14, .ARTICLE = u"طاجين دجاج"_s });
    line({ .NUM_VENTE = 15, .VALIDE = u"False"_s, .COLOR = 0x00FF00, .QTE = DbValue() });
    line({ .NUM_VENTE = 16, .CUISEN = u" "_s });
    line({ .NUM_VENTE = 17, .COLOR = 0x7F123456 });
    line({ .NUM_VENTE = -3 });
    line({ .NUM_VENTE = 1234 });
    line({ .NUM_VENTE = 18, .ARTICLE = longArabicArticle() });
    line({ .NUM_VENTE = 19, .COLOR = -1 });
    line({ .NUM_VENTE = 22, .DATE_VENTE = DbValue() });
    line({ .NUM_VENTE = 21,
           .TIME_VENTE = DbValue(),
           .NUMERO_TABLE = DbValue(),
           .PRIX = DbValue(),
           .TIME_ORDER = DbValue(),
           .WAJBA_ORDER = DbValue(),
           .TAILLE = DbValue() });
    for (int i = 0; i < 2; ++i)
        line({ .NUM_VENTE = 20, .CLE_ART = 200, .TAILLE = u"M"_s });
}

void BoardRefreshTest::cleanupTestCase()
{
    m_db.reset();
    ErrorBox::setPresenter({});
}

void BoardRefreshTest::init()
{
    m_errorBoxes.clear();
    m_window = std::make_unique<TVente_au_comptoir_zedivad>();
    m_window->UniConnection1.open(m_db->settings());
    m_window->cxDateEdit2->setDate(today);
}

void BoardRefreshTest::cleanup()
{
    m_window.reset();
    QVERIFY2(m_errorBoxes.isEmpty(), qPrintable(m_errorBoxes.join(u'\n')));
}

void BoardRefreshTest::lines_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("onBoard");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("article");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("sizeIsNull");
    QTest::addColumn<QColor>("colour");

    const QColor yellow(255, 255, 0); // 0x00FFFF, the fixture's colour
    QTest::newRow("pending line") << 5 << true << "2"
                                  << "Pizza Reine"
                                  << "12"
                                  << "L" << false << QColor(255, 0, 0);
    QTest::newRow("VALIDE NULL: neither pending nor validated") << 6 << false << ""
                                                                << ""
                                                                << ""
                                                                << "" << false << QColor();
    QTest::newRow("VALIDE True") << 7 << false << ""
                                 << ""
                                 << ""
                                 << "" << false << QColor();
    QTest::newRow("VALIDE true is pending") << 8 << true << "1"
                                            << "Pizza"
                                            << "100"
                                            << "M" << false << yellow;
    QTest::newRow("empty CUISEN") << 9 << false << ""
                                  << ""
                                  << ""
                                  << "" << false << QColor();
    QTest::newRow("another date") << 10 << false << ""
                                  << ""
                                  << ""
                                  << "" << false << QColor();
    QTest::newRow("QTE 2.5 with the decimal comma") << 11 << true << "2,5"
                                                    << "Pizza"
                                                    << "100"
                                                    << "M" << false << yellow;
    QTest::newRow("COLOR 0 is black") << 12 << true << "1"
                                      << "Pizza"
                                      << "100"
                                      << "M" << false << QColor(0, 0, 0);
    QTest::newRow("NULL size") << 13 << true << "1"
                               << "Pizza"
                               << "100"
                               << "" << true << yellow;
    QTest::newRow("Arabic article through the code page") << 14 << true << "1"
                                                          << "طاجين دجاج"
                                                          << "100"
                                                          << "M" << false << yellow;
    QTest::newRow("NULL quantity") << 15 << true << ""
                                   << "Pizza"
                                   << "100"
                                   << "M" << false << QColor(0, 255, 0);
    // Firebird ignores trailing blanks when it compares: a blank CUISEN is empty.
    QTest::newRow("blank CUISEN") << 16 << false << ""
                                  << ""
                                  << ""
                                  << "" << false << QColor();
    QTest::newRow("COLOR with a high byte") << 17 << true << "1"
                                            << "Pizza"
                                            << "100"
                                            << "M" << false << QColor(0x56, 0x34, 0x12);
    QTest::newRow("negative NUM_VENTE is a tile") << -3 << true << "1"
                                                  << "Pizza"
                                                  << "100"
                                                  << "M" << false << yellow;
    QTest::newRow("NUM_VENTE above 999") << 1234 << true << "1"
                                         << "Pizza"
                                         << "100"
                                         << "M" << false << yellow;
    QTest::newRow("150-letter Arabic article, whole") << 18 << true << "1" << longArabicArticle() << "100"
                                                      << "M" << false << yellow;
    QTest::newRow("COLOR -1: every bit set, white") << 19 << true << "1"
                                                    << "Pizza"
                                                    << "100"
                                                    << "M" << false << QColor(255, 255, 255);
    QTest::newRow("NULL DATE_VENTE: on no date's board") << 22 << false << ""
                                                         << ""
                                                         << ""
                                                         << "" << false << QColor();
    QTest::newRow("NULL in every nullable column the board does not show")
        << 21 << true << "1"
        << "Pizza"
        << "100"
        << "" << true << yellow;
}

void BoardRefreshTest::lines()
{
    QFETCH(int, number);
    QFETCH(bool, onBoard);

    m_window->categor();
    QVERIFY(!m_window->Groupe1->placeholderShown());
    const std::optional<PendingTile> tile = tileNumbered(*m_window->Groupe1, number);
    QCOMPARE(tile.has_value(), onBoard);
    if (!onBoard)
        return;
    QFETCH(QString, quantity);
    QFETCH(QString, article);
    QFETCH(QString, key);
    QFETCH(QString, size);
    QFETCH(bool, sizeIsNull);
    QFETCH(QColor, colour);
    QCOMPARE(tile->number, QString::number(number));
    QCOMPARE(tile->quantity, quantity);
    QCOMPARE(tile->article, article);
    QCOMPARE(tile->key, key);
    QCOMPARE(tile->size, size);
    QCOMPARE(tile->sizeIsNull, sizeIsNull);
    QCOMPARE(QColor(tile->colour), colour);
}

void BoardRefreshTest::identicalLinesGiveTwoTiles()
{
    m_window->categor();
    QCOMPARE(tilesNumbered(*m_window->Groupe1, 20), 2);
    // NUM_VENTE 0 and NULL are in the query but give no tile.
    QCOMPARE(m_window->Liste_article.rowCount(), m_window->Groupe1->rowCount() + 2);
}

void BoardRefreshTest::databaseOrder()
{
    // No ordering clause: the tiles follow the rows as the query returned them.
    m_window->categor();
    QStringList fromQuery;
    for (int row = 0; row < m_window->Liste_article.rowCount(); ++row) {
        const qint64 number = m_window->Liste_article.row(row)
                                  .at(m_window->Liste_article.fieldIndex(u"NUM_VENTE"_s))
                                  .toInteger();
        if (number != 0)
            fromQuery.append(QString::number(number));
    }
    QStringList onBoard;
    for (const PendingTile &tile : m_window->Groupe1->tiles())
        onBoard.append(tile.number);
    QCOMPARE(onBoard, fromQuery);
}

void BoardRefreshTest::workingDate()
{
    m_window->cxDateEdit2->setDate(today.addDays(-1));
    m_window->categor();
    QCOMPARE(m_window->Groupe1->rowCount(), 1);
    QCOMPARE(m_window->Groupe1->tile(0).number, u"10"_s);

    m_window->cxDateEdit2->setDate(today.addDays(-30));
    m_window->categor();
    QCOMPARE(m_window->Groupe1->rowCount(), 0);
}

void BoardRefreshTest::emptyDateNeedsNoDatabase()
{
    m_window->categor();
    QVERIFY(m_window->Groupe1->rowCount() > 0);
    m_window->UniConnection1.close();
    m_window->cxDateEdit2->clearDate();
    m_window->categor(); // no error: an empty board
    QCOMPARE(m_window->Groupe1->rowCount(), 0);
    m_window->Timer2Timer();
    QVERIFY(m_window->boardErrorBanner()->isHidden());
}

void BoardRefreshTest::otherProgramBetweenTicks()
{
    m_window->Timer2->start();
    QTRY_VERIFY(tileNumbered(*m_window->Groupe1, 5).has_value());

    // The counter-sale system adds a line; another station validates one.
    std::unique_ptr<DbConnection> other = m_db->connect();
    const qint64 added = m_db->insertLine({ .NUM_VENTE = 31, .ARTICLE = u"Couscous"_s });
    QTRY_VERIFY(tileNumbered(*m_window->Groupe1, 31).has_value());
    QCOMPARE(tileNumbered(*m_window->Groupe1, 31)->article, u"Couscous"_s);

    DbStatement validate(*other,
                         u"update LISTE_COMMANDE set VALIDE = 'True' where CLE_LISTE_COMMANDE = :K"_s);
    validate.setParam(0, DbValue(added));
    QCOMPARE(validate.execute(), 1);
    QTRY_VERIFY(!tileNumbered(*m_window->Groupe1, 31).has_value());
    QVERIFY(m_window->boardErrorBanner()->isHidden());
}

void BoardRefreshTest::unchangedBoardIsNotRepainted()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QSignalSpy resets(m_window->Groupe1, &QAbstractItemModel::modelReset);
    QSignalSpy ticks(m_window->Timer2, &QTimer::timeout);
    PaintCounter counter(m_window->Categories);
    // The working date set in init() has rebuilt the board already: the
    // placeholder went, the tiles came.
    QVERIFY(!m_window->Groupe1->placeholderShown());
    QVERIFY(m_window->Groupe1->rowCount() > 0);
    m_window->Categories->update(); // one paint of the board as it stands
    m_window->Timer2->start();
    QTRY_VERIFY(counter.count > 0);
    const int painted = counter.count;
    const int ticked = int(ticks.size());

    QTRY_VERIFY(ticks.size() >= ticked + 20);
    QCOMPARE(resets.size(), 0);
    QCOMPARE(counter.count, painted);
}

void BoardRefreshTest::databaseErrorDuringTick()
{
    m_window->show();
    m_window->Timer2->start();
    QTRY_VERIFY(m_window->Groupe1->rowCount() > 0);
    const QList<PendingTile> before = m_window->Groupe1->tiles();
    QSignalSpy ticks(m_window->Timer2, &QTimer::timeout);

    // The connection is gone: every tick fails.
    m_window->UniConnection1.close();
    QTRY_VERIFY(m_window->boardErrorBanner()->isVisible());
    const QString message = m_window->boardErrorBanner()->text();
    QVERIFY(!message.isEmpty());
    const int ticked = int(ticks.size());
    QTRY_VERIFY(ticks.size() >= ticked + 10);
    // One banner, no box per tick; the last tiles stay; the refresh goes on.
    QVERIFY(m_errorBoxes.isEmpty());
    QCOMPARE(m_window->Groupe1->tiles(), before);
    QVERIFY(m_window->Timer2->isActive());
    QCOMPARE(m_window->boardErrorBanner()->text(), message);
    QVERIFY(m_window->boardErrorBanner()->geometry().intersects(m_window->Categories->geometry()));

    // Back: the next tick succeeds and the banner goes.
    m_window->UniConnection1.open(m_db->settings());
    m_db->insertLine({ .NUM_VENTE = 32 });
    QTRY_VERIFY(m_window->boardErrorBanner()->isHidden());
    QTRY_VERIFY(tileNumbered(*m_window->Groupe1, 32).has_value());
}

void BoardRefreshTest::lostConnectionComesBack()
{
    m_window->show();
    m_window->Timer2->start();
    QTRY_VERIFY(m_window->Groupe1->rowCount() > 0);

    // Another program ends the station's attachment on the server's side.
    DbQuery self(m_window->UniConnection1, u"select CURRENT_CONNECTION as ID from RDB$DATABASE"_s);
    self.open();
    const qint64 station = self.asInteger(u"ID"_s);
    self.close();
    std::unique_ptr<DbConnection> other = m_db->connect();
    DbStatement cut(*other, u"delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :ID"_s);
    cut.setParam(0, DbValue(station));
    QCOMPARE(cut.execute(), 1);
    m_db->insertLine({ .NUM_VENTE = 33 });

    // The station attaches again by itself and the new line shows.
    QTRY_VERIFY_WITH_TIMEOUT(tileNumbered(*m_window->Groupe1, 33).has_value(), 20000);
    QTRY_VERIFY(m_window->boardErrorBanner()->isHidden());
    QVERIFY(m_errorBoxes.isEmpty());
}

QTEST_MAIN(BoardRefreshTest)
#include "tst_boardrefresh.moc"
