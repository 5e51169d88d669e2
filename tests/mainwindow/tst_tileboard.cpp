// The tile board without a database: where tiles stand, what the model tells
// its views, what the widget paints, and how a click reaches the window.

#include "PaintCounter.h"
#include "forms/PendingTileModel.h"
#include "forms/TileBoard.h"
#include "forms/TileLayout.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
PendingTile tile(int number, QRgb colour = qRgb(255, 200, 0), const QString &article = u"Pizza"_s)
{
    PendingTile result;
    result.number = QString::number(number);
    result.quantity = u"1"_s;
    result.article = article;
    result.key = QString::number(100 + number);
    result.size = u"M"_s;
    result.colour = colour;
    return result;
}

QList<PendingTile> tiles(int count)
{
    QList<PendingTile> result;
    for (int i = 1; i <= count; ++i)
        result.append(tile(i));
    return result;
}

} // namespace

class TileBoardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void layout_data();
    void layout();
    void contentHeight_data();
    void contentHeight();
    void hitTest_data();
    void hitTest();

    void modelTellsOnlyChanges();
    void modelRoles();
    void unchangedBoardIsNotRepainted();
    void paintsTileColours_data();
    void paintsTileColours();
    void placeholderUntilFirstRebuild();
    void clicks_data();
    void clicks();
    void scrolling();
};

void TileBoardTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TileBoardTest::layout_data()
{
    QTest::addColumn<int>("boardWidth");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("topLeft");

    // Two tiles of 341 and a gap of 1 fit in the board's 716.
    QTest::newRow("first") << 716 << 0 << QPoint(0, 0);
    QTest::newRow("second goes down") << 716 << 1 << QPoint(0, 64);
    QTest::newRow("tenth ends the first column") << 716 << 9 << QPoint(0, 576);
    QTest::newRow("eleventh starts the second column") << 716 << 10 << QPoint(342, 0);
    QTest::newRow("twentieth ends the block") << 716 << 19 << QPoint(342, 576);
    QTest::newRow("twenty-first starts a block below") << 716 << 20 << QPoint(0, 640);
    QTest::newRow("thirty-first, second column of that block") << 716 << 30 << QPoint(342, 640);
    QTest::newRow("narrow board, one column") << 400 << 12 << QPoint(0, 12 * 64);
    QTest::newRow("wide board, three columns") << 1100 << 25 << QPoint(684, 5 * 64);
}

void TileBoardTest::layout()
{
    QFETCH(int, boardWidth);
    QFETCH(int, index);
    QFETCH(QPoint, topLeft);
    const TileLayout layout;
    QCOMPARE(layout.tileRect(index, boardWidth), QRect(topLeft, QSize(341, 63)));
}

void TileBoardTest::contentHeight_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("height");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 63;
    QTest::newRow("a full column") << 10 << 639;
    QTest::newRow("into the second column") << 15 << 639;
    QTest::newRow("a full block") << 20 << 639;
    QTest::newRow("one in the next block") << 21 << 703;
    QTest::newRow("two blocks and five") << 45 << 25 * 64 - 1;
}

void TileBoardTest::contentHeight()
{
    QFETCH(int, count);
    QFETCH(int, height);
    QCOMPARE(TileLayout().contentHeight(count, 716), height);
}

void TileBoardTest::hitTest_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::newRow("inside the first") << QPoint(5, 5) << 3 << 0;
    QTest::newRow("last pixel of the first") << QPoint(340, 62) << 3 << 0;
    QTest::newRow("gap below the first") << QPoint(5, 63) << 3 << -1;
    QTest::newRow("gap between the columns") << QPoint(341, 5) << 30 << -1;
    QTest::newRow("second column") << QPoint(342, 64) << 30 << 11;
    QTest::newRow("below the last tile") << QPoint(5, 64 * 3 + 5) << 3 << -1;
    QTest::newRow("second block") << QPoint(400, 640 + 64) << 40 << 31;
    QTest::newRow("beside the columns") << QPoint(700, 5) << 30 << -1;
}

void TileBoardTest::hitTest()
{
    QFETCH(QPoint, point);
    QFETCH(int, count);
    QFETCH(int, index);
    QCOMPARE(TileLayout().indexAt(point, count, 716), index);
}

void TileBoardTest::modelTellsOnlyChanges()
{
    PendingTileModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    QVERIFY(model.placeholderShown());
    // The first rebuild removes the placeholder, even when it finds nothing.
    QVERIFY(model.setTiles({}));
    QVERIFY(!model.placeholderShown());
    QCOMPARE(resets.size(), 1);
    QVERIFY(!model.setTiles({}));
    QCOMPARE(resets.size(), 1);

    QVERIFY(model.setTiles(tiles(3)));
    QVERIFY(!model.setTiles(tiles(3)));
    QCOMPARE(resets.size(), 2);

    // Any visible or hidden value counts: a tile is all that a touch knows.
    QList<PendingTile> changed = tiles(3);
    changed[1].sizeIsNull = true;
    QVERIFY(model.setTiles(changed));
    changed[1].colour = qRgb(0, 0, 0);
    QVERIFY(model.setTiles(changed));
    changed.swapItemsAt(0, 2);
    QVERIFY(model.setTiles(changed));
    QCOMPARE(resets.size(), 5);
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(model.clear());
    QCOMPARE(model.rowCount(), 0);
}

void TileBoardTest::modelRoles()
{
    PendingTileModel model;
    PendingTile nullSize = tile(7, qRgb(1, 2, 3), u"Tajine"_s);
    nullSize.size.clear();
    nullSize.sizeIsNull = true;
    model.setTiles({ tile(5), nullSize });
    const QModelIndex index = model.index(1);
    QCOMPARE(index.data(PendingTileModel::NumberRole).toString(), u"7"_s);
    QCOMPARE(index.data(PendingTileModel::ArticleRole).toString(), u"Tajine"_s);
    QCOMPARE(index.data(Qt::DisplayRole).toString(), u"Tajine"_s);
    QCOMPARE(index.data(PendingTileModel::KeyRole).toString(), u"107"_s);
    QCOMPARE(index.data(PendingTileModel::QuantityRole).toString(), u"1"_s);
    QCOMPARE(index.data(PendingTileModel::SizeRole).toString(), QString());
    QCOMPARE(index.data(PendingTileModel::SizeIsNullRole).toBool(), true);
    QCOMPARE(index.data(PendingTileModel::ColorRole).value<QColor>(), QColor(1, 2, 3));
}

void TileBoardTest::unchangedBoardIsNotRepainted()
{
    PendingTileModel model;
    TileBoard board;
    board.setModel(&model);
    board.resize(716, 628);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    model.setTiles(tiles(5));
    PaintCounter counter(&board);
    QTRY_VERIFY(counter.count > 0);

    const int painted = counter.count;
    for (int tick = 0; tick < 20; ++tick) {
        model.setTiles(tiles(5));
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.count, painted);
    // The tiles are painted, not widgets: a rebuild creates no child.
    QCOMPARE(board.findChildren<QWidget *>().size(), 2); // the two scroll buttons

    model.setTiles(tiles(6));
    QTRY_VERIFY(counter.count > painted);
}

void TileBoardTest::paintsTileColours_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::newRow("yellow") << qRgb(255, 255, 0);
    QTest::newRow("black, COLOR 0") << qRgb(0, 0, 0);
    QTest::newRow("blue") << qRgb(0, 0, 255);
}

void TileBoardTest::paintsTileColours()
{
    QFETCH(QRgb, colour);
    PendingTileModel model;
    TileBoard board;
    board.setModel(&model);
    board.resize(716, 628);
    model.setTiles({ tile(12, qRgb(200, 0, 0)), tile(13, colour) });
    const QImage image = board.grab().toImage();
    // Corners of the second tile (first column, second row) carry no text.
    QCOMPARE(QColor(image.pixel(2, 64 + 2)), QColor(colour));
    QCOMPARE(QColor(image.pixel(338, 64 + 2)), QColor(colour));
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(200, 0, 0));
    // The board's ground is white.
    QCOMPARE(QColor(image.pixel(600, 400)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(2, 63)), QColor(Qt::white));
}

void TileBoardTest::placeholderUntilFirstRebuild()
{
    PendingTileModel model;
    TileBoard board;
    board.setModel(&model);
    board.resize(716, 628);
    QImage image = board.grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 2)), TileBoard::placeholderColor());
    QCOMPARE(QColor(image.pixel(338, 60)), TileBoard::placeholderColor());
    QCOMPARE(QColor(image.pixel(345, 2)), QColor(Qt::white)); // 341 wide

    model.setTiles({});
    image = board.grab().toImage();
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::white));
}

void TileBoardTest::clicks_data()
{
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("row"); // -1: no click
    QTest::newRow("on a tile") << QPoint(20, 64 + 30) << QPoint(20, 64 + 30) << 1;
    QTest::newRow("second column") << QPoint(400, 30) << QPoint(400, 30) << 10;
    QTest::newRow("moved within the tile") << QPoint(20, 10) << QPoint(300, 50) << 0;
    QTest::newRow("pressed on one, released on another") << QPoint(20, 10) << QPoint(20, 100) << -1;
    QTest::newRow("on the gap") << QPoint(20, 63) << QPoint(20, 63) << -1;
    QTest::newRow("on the ground") << QPoint(690, 600) << QPoint(690, 600) << -1;
}

void TileBoardTest::clicks()
{
    QFETCH(QPoint, press);
    QFETCH(QPoint, release);
    QFETCH(int, row);
    PendingTileModel model;
    model.setTiles(tiles(12));
    TileBoard board;
    board.setModel(&model);
    board.resize(716, 628);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QSignalSpy clicked(&board, &TileBoard::tileClicked);
    QTest::mousePress(&board, Qt::LeftButton, {}, press);
    QTest::mouseRelease(&board, Qt::LeftButton, {}, release);
    QCOMPARE(clicked.size(), row < 0 ? 0 : 1);
    if (row >= 0)
        QCOMPARE(clicked.first().first().toInt(), row);
}

void TileBoardTest::scrolling()
{
    PendingTileModel model;
    TileBoard board;
    board.setModel(&model);
    board.resize(716, 628);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QToolButton *up = board.scrollUpButton();
    QToolButton *down = board.scrollDownButton();

    model.setTiles(tiles(20)); // 639 high: 11 pixels below the board
    QVERIFY(!up->isVisible());
    QVERIFY(down->isVisible());

    model.setTiles(tiles(30)); // a second block below
    QCOMPARE(board.maximumScroll(), 703 + 64 * 9 - 628);
    QTest::mouseClick(down, Qt::LeftButton);
    QCOMPARE(board.scrollOffset(), 64);
    QVERIFY(up->isVisible());
    QCOMPARE(board.tileRect(0).top(), -64);

    // A click lands on the tile that is shown there now.
    QSignalSpy clicked(&board, &TileBoard::tileClicked);
    QTest::mouseClick(&board, Qt::LeftButton, {}, QPoint(20, 10));
    QCOMPARE(clicked.first().first().toInt(), 1);

    // The scroll position survives a rebuild as far as the tiles reach.
    board.setScrollOffset(board.maximumScroll());
    QVERIFY(!down->isVisible());
    model.setTiles(tiles(25));
    QCOMPARE(board.scrollOffset(), board.maximumScroll());
    model.setTiles(tiles(4));
    QCOMPARE(board.scrollOffset(), 0);
    QVERIFY(!up->isVisible());
    QVERIFY(!down->isVisible());

    model.setTiles(tiles(30));
    QTest::mouseClick(up, Qt::LeftButton); // at the top already
    QCOMPARE(board.scrollOffset(), 0);
}

QTEST_MAIN(TileBoardTest)
#include "tst_tileboard.moc"
