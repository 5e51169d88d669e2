// The main window's frame: where every region and control stands at the first
// size and after the window grows, captions, looks and the initial state.

#include "app/Fonts.h"
#include "forms/DateEdit.h"
#include "forms/GridView.h"
#include "forms/PendingTileModel.h"
#include "forms/StationButton.h"
#include "forms/StationLook.h"
#include "forms/StatusBar.h"
#include "forms/TVente_au_comptoir_zedivad.h"
#include "forms/TileBoard.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

using Window = TVente_au_comptoir_zedivad;

class WindowLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clientSize();
    void geometry_data();
    void geometry();
    void grownBand();
    void shrunkWindowKeepsColumns();
    void readingOrderStaysLeftToRight();
    void captions_data();
    void captions();
    void twoLineCaptionsFitTheirButtons();
    void fonts_data();
    void fonts();
    void panelColours_data();
    void panelColours();
    void statusPanels_data();
    void statusPanels();
    void initialState();
    void menus();
    void gridColumns();

private:
    QRect placeOf(const QString &name) const;

    Window *m_window = nullptr;
};

void WindowLayoutTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    Fonts::substituteMissingFamilies();
}

void WindowLayoutTest::init()
{
    m_window = new Window;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void WindowLayoutTest::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

QRect WindowLayoutTest::placeOf(const QString &name) const
{
    const auto *widget = m_window->findChild<QWidget *>(name);
    if (!widget)
        return {};
    // Positions within the client area, as the window was designed.
    return { widget->parentWidget()->mapTo(m_window->clientArea(), widget->pos()), widget->size() };
}

void WindowLayoutTest::clientSize()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Vente_au_comptoir_zedivad"));
    QCOMPARE(m_window->clientArea()->size(), QSize(987, 682));
    QCOMPARE(m_window->size(), QSize(987 + 2 * Window::BorderWidth, 682 + 2 * Window::BorderWidth));
    QCOMPARE(m_window->clientArea()->pos(), QPoint(Window::BorderWidth, Window::BorderWidth));
    // First shown centred on the desktop.
    const QPoint offCentre
        = m_window->frameGeometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(qAbs(offCentre.x()) <= 2 && qAbs(offCentre.y()) <= 2,
             qPrintable(u"%1, %2"_s.arg(offCentre.x()).arg(offCentre.y())));
}

void WindowLayoutTest::geometry_data()
{
    QTest::addColumn<QSize>("growth");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("expected"); // width or height -1: follows the font

    struct Place
    {
        const char *control;
        QRect first;
        QRect grown; // after growing by 100 x 100
    };
    const Place places[] = {
        { "Panel5", { 0, 0, 987, 35 }, { 0, 0, 1087, 35 } },
        { "cxButton8", { 0, -2, 48, 39 }, { 0, -2, 48, 39 } },
        { "cxCheckBox12", { 70, 3, -1, -1 }, { 70, 3, -1, -1 } },
        { "cxButton4", { 418, -8, 145, 42 }, { 518, -8, 145, 42 } },
        { "Label2", { 580, 2, 118, 23 }, { 680, 2, 118, 23 } },
        { "cxDateEdit2", { 716, -2, 172, -1 }, { 816, -2, 172, -1 } },
        { "cxButton6", { 894, -7, 93, 41 }, { 994, -7, 93, 41 } },
        { "Panel6", { 0, 35, 987, 628 }, { 0, 35, 1087, 728 } },
        { "Categories", { 0, 35, 716, 628 }, { 0, 35, 716, 628 } },
        { "Panel1", { 716, 35, 172, 628 }, { 816, 35, 172, 728 } },
        { "cxGrid2DBTableView1", { 716, 35, 172, 606 }, { 816, 35, 172, 706 } },
        { "cxDBTextEdit1", { 716, 641, 172, 22 }, { 816, 741, 172, 22 } },
        { "Panel3", { 888, 35, 99, 628 }, { 988, 35, 99, 654 } },
        { "Image1", { 888, 35, 99, 67 }, { 988, 35, 99, 67 } },
        { "cxButton3", { 888, 102, 99, 89 }, { 988, 102, 99, 89 } },
        { "Panel7", { 888, 191, 99, 4 }, { 988, 191, 99, 4 } },
        { "cxButton7", { 888, 195, 99, 91 }, { 988, 195, 99, 91 } },
        { "Panel8", { 888, 286, 99, 4 }, { 988, 286, 99, 4 } },
        { "cxButton5", { 888, 290, 99, 91 }, { 988, 290, 99, 91 } },
        { "Panel2", { 888, 381, 99, 4 }, { 988, 381, 99, 4 } },
        { "cxButton2", { 888, 385, 99, 85 }, { 988, 385, 99, 85 } },
        { "Panel4", { 888, 470, 99, 4 }, { 988, 470, 99, 4 } },
        // The bottom-aligned pair follows the command column's bottom, which stops at 654.
        { "cxButton87", { 888, 547, 99, 45 }, { 988, 573, 99, 45 } },
        { "cxButton1", { 888, 592, 99, 71 }, { 988, 618, 99, 71 } },
        { "dxStatusBar1", { 0, 663, 987, 19 }, { 0, 763, 1087, 19 } },
    };
    for (const Place &place : places) {
        QTest::addRow("%s at first size", place.control)
            << QSize(0, 0) << QString::fromLatin1(place.control) << place.first;
        QTest::addRow("%s grown by 100 x 100", place.control)
            << QSize(100, 100) << QString::fromLatin1(place.control) << place.grown;
    }
    QTest::addRow("cxButton4 grown in width only")
        << QSize(100, 0) << QStringLiteral("cxButton4") << QRect(518, -8, 145, 42);
    QTest::addRow("command column grown in height only")
        << QSize(0, 100) << QStringLiteral("Panel3") << QRect(888, 35, 99, 654);
    QTest::addRow("command column grown by less than its limit")
        << QSize(0, 10) << QStringLiteral("Panel3") << QRect(888, 35, 99, 638);
    QTest::addRow("quit button grown by less than the limit")
        << QSize(0, 10) << QStringLiteral("cxButton1") << QRect(888, 602, 99, 71);
}

void WindowLayoutTest::geometry()
{
    QFETCH(QSize, growth);
    QFETCH(QString, control);
    QFETCH(QRect, expected);

    m_window->resize(m_window->size() + growth);
    QTRY_COMPARE(m_window->clientArea()->size(), QSize(987, 682) + growth);

    const QRect place = placeOf(control);
    QVERIFY2(place.isValid() || !place.isNull(), qPrintable(control));
    QCOMPARE(place.topLeft(), expected.topLeft());
    if (expected.width() >= 0)
        QCOMPARE(place.width(), expected.width());
    if (expected.height() >= 0)
        QCOMPARE(place.height(), expected.height());
}

void WindowLayoutTest::grownBand()
{
    // At the first size the history button touches the bar's right edge and
    // the board touches the validated-orders column.
    QCOMPARE(placeOf(QStringLiteral("cxButton6")).right(), m_window->Panel5->width() - 1);
    QCOMPARE(placeOf(QStringLiteral("Categories")).right() + 1, placeOf(QStringLiteral("Panel1")).left());

    m_window->resize(m_window->size() + QSize(100, 100));
    QTRY_COMPARE(m_window->clientArea()->width(), 1087);
    QCOMPARE(placeOf(QStringLiteral("cxButton6")).right(), m_window->Panel5->width() - 1);
    // A green band 100 wide between the board and the column.
    QCOMPARE(placeOf(QStringLiteral("Panel1")).left() - (placeOf(QStringLiteral("Categories")).right() + 1),
             100);
    QCOMPARE(m_window->Panel6->palette().color(QPalette::Window), StationLook::green);
}

void WindowLayoutTest::shrunkWindowKeepsColumns()
{
    // Narrower and lower than designed: the columns stand over the board's right
    // part, and the command column keeps its least height.
    m_window->resize(m_window->size() - QSize(200, 50));
    QTRY_COMPARE(m_window->clientArea()->size(), QSize(787, 632));
    QCOMPARE(placeOf(QStringLiteral("Categories")), QRect(0, 35, 716, 628));
    QCOMPARE(placeOf(QStringLiteral("Panel1")), QRect(516, 35, 172, 578));
    QCOMPARE(placeOf(QStringLiteral("Panel3")), QRect(688, 35, 99, 628));
    QVERIFY(m_window->Panel1->geometry().intersects(m_window->Categories->geometry()));
}

void WindowLayoutTest::readingOrderStaysLeftToRight()
{
    qApp->setLayoutDirection(Qt::RightToLeft);
    const auto restore = qScopeGuard([] { qApp->setLayoutDirection(Qt::LeftToRight); });
    Window window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.Categories->layoutDirection(), Qt::LeftToRight);
    QCOMPARE(window.cxButton8->pos(), QPoint(0, -2));
    QCOMPARE(window.Categories->pos(), QPoint(0, 0));
}

void WindowLayoutTest::captions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");

    QTest::newRow("design button") << "cxButton8" << QString() << QString();
    QTest::newRow("print box") << "cxCheckBox12"
                               << "Imprimer le Ticket" << QString();
    QTest::newRow("second screen") << "cxButton4"
                                   << "2eme Ecran"
                                   << "2eme Ecran";
    QTest::newRow("date label") << "Label2"
                                << "Date de Travail" << QString();
    QTest::newRow("history") << "cxButton6" << QString() << "Historique";
    QTest::newRow("recall") << "cxButton3"
                            << "Deuxième\r\nAppel" << QString();
    QTest::newRow("reprint") << "cxButton7"
                             << "Imprimer\r\nLe Ticket" << QString();
    QTest::newRow("list") << "cxButton5"
                          << "Liste des\r\nCommanedes" << QString();
    QTest::newRow("withdrawal") << "cxButton2"
                                << "dévalider la\r\nCommande" << QString();
    QTest::newRow("language") << "cxButton87"
                              << "Fr" << QString();
    QTest::newRow("quit") << "cxButton1"
                          << "Quitter" << QString();
}

void WindowLayoutTest::captions()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, hint);

    auto *button = m_window->findChild<QAbstractButton *>(control);
    if (button) {
        QCOMPARE(button->text(), caption);
        if (qobject_cast<StationButton *>(button))
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    } else {
        auto *label = m_window->findChild<QLabel *>(control);
        QVERIFY(label);
        QCOMPARE(label->text(), caption);
    }
    QCOMPARE(m_window->findChild<QWidget *>(control)->toolTip(), hint);
}

void WindowLayoutTest::twoLineCaptionsFitTheirButtons()
{
    for (StationButton *button :
         { m_window->cxButton3, m_window->cxButton7, m_window->cxButton5, m_window->cxButton2 }) {
        const QStringList lines = button->captionLines();
        QCOMPARE(lines.size(), 2);
        const QFontMetrics metrics(button->font());
        for (const QString &line : lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= button->width(), qPrintable(line));
        QVERIFY(2 * metrics.height() + button->glyph().deviceIndependentSize().height() <= button->height());
    }
}

void WindowLayoutTest::fonts_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");

    QTest::newRow("window") << "Vente_au_comptoir_zedivad"
                            << "Arabic Transparent" << 16 << true;
    QTest::newRow("design button") << "cxButton8"
                                   << "Calibri" << 16 << true;
    QTest::newRow("print box, regular") << "cxCheckBox12"
                                        << "Calibri" << 15 << false;
    QTest::newRow("second screen") << "cxButton4"
                                   << "Calibri" << 19 << true;
    QTest::newRow("date label") << "Label2"
                                << "Calibri" << 19 << true;
    QTest::newRow("date editor") << "cxDateEdit2"
                                 << "Calibri" << 19 << true;
    QTest::newRow("history") << "cxButton6"
                             << "Calibri" << 16 << true;
    QTest::newRow("grid") << "cxGrid2DBTableView1"
                          << "Calibri" << 21 << true;
    QTest::newRow("article box") << "cxDBTextEdit1"
                                 << "Calibri" << 15 << true;
    QTest::newRow("command") << "cxButton3"
                             << "Calibri" << 15 << true;
    QTest::newRow("language") << "cxButton87"
                              << "Calibri" << 27 << true;
    QTest::newRow("quit") << "cxButton1"
                          << "Calibri" << 16 << true;
    QTest::newRow("status bar, regular") << "dxStatusBar1"
                                         << "Tahoma" << 11 << false;
}

void WindowLayoutTest::fonts()
{
    QFETCH(QString, control);
    QFETCH(QString, family);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);

    const QWidget *widget
        = control == m_window->objectName() ? m_window : m_window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->font().family(), family);
    QCOMPARE(widget->font().pixelSize(), pixelSize);
    QCOMPARE(widget->font().bold(), bold);
}

void WindowLayoutTest::panelColours_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("window") << "client" << QColor(34, 50, 86);
    QTest::newRow("top bar") << "Panel5" << QColor(34, 50, 86);
    QTest::newRow("board area") << "Panel6" << QColor(80, 157, 2);
    QTest::newRow("validated column") << "Panel1" << QColor(Qt::white);
    QTest::newRow("command column") << "Panel3" << QColor(80, 157, 2);
    for (const char *strip : { "Panel7", "Panel8", "Panel2", "Panel4" })
        QTest::newRow(strip) << strip << QColor(74, 147, 2);
    QTest::newRow("status bar") << "dxStatusBar1" << QColor(34, 50, 86);
}

void WindowLayoutTest::panelColours()
{
    QFETCH(QString, control);
    QFETCH(QColor, colour);
    const QWidget *widget = m_window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QVERIFY(widget->autoFillBackground());
    QCOMPARE(widget->palette().color(QPalette::Window), colour);
}

void WindowLayoutTest::statusPanels_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");

    QTest::newRow("0 user") << 0 << "Utilisateur" << 60;
    QTest::newRow("1 name") << 1 << "Admin" << 80;
    QTest::newRow("2 workstation, trailing blank") << 2 << "Poste de Travail " << 100;
    QTest::newRow("3 station") << 3 << "SERVEUR" << 80;
    QTest::newRow("4 server label") << 4 << "" << 100;
    QTest::newRow("5 ip") << 5 << "IP" << 20;
    QTest::newRow("6 address") << 6 << "" << 120;
}

void WindowLayoutTest::statusPanels()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, width);
    // the eight of the design, then the notices' panel
    QCOMPARE(m_window->dxStatusBar1->panelCount(), 9);
    QCOMPARE(m_window->dxStatusBar1->panelText(index), text);
    QCOMPARE(m_window->dxStatusBar1->panel(index)->width(), width);

    m_window->dxStatusBar1->setPanelText(index, QStringLiteral("x"));
    QCOMPARE(m_window->dxStatusBar1->panel(index)->text(), QStringLiteral("x"));
}

void WindowLayoutTest::initialState()
{
    for (QLabel *label : { m_window->Label1, m_window->Label12, m_window->Label3 }) {
        QCOMPARE(label->text(), QStringLiteral("0"));
        QVERIFY(!label->isVisible());
        QCOMPARE(label->parentWidget(), m_window->Panel5);
    }
    QVERIFY(!m_window->cxDateEdit2->date().isValid());
    QVERIFY(!m_window->cxCheckBox12->isChecked());
    QVERIFY(m_window->Groupe1->placeholderShown());
    QCOMPARE(m_window->Groupe1->rowCount(), 0);
    QCOMPARE(m_window->Categories->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(m_window->Categories->focusPolicy(), Qt::NoFocus);
    QVERIFY(!m_window->Timer1->isActive());
    QVERIFY(!m_window->Timer2->isActive());
    QCOMPARE(m_window->Timer1->interval(), 50);
    QCOMPARE(m_window->Timer2->interval(), 50);
    QVERIFY(!m_window->cxDBTextEdit1->isEnabled());
    QVERIFY(m_window->cxDBTextEdit1->text().isEmpty());
    QCOMPARE(m_window->cxButton87->textColor(), StationLook::yellow);
    QCOMPARE(m_window->cxButton1->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(m_window->cxGrid2DBTableView1->emptyText(), Window::emptyGridText());
    QCOMPARE(m_window->cxGrid2DBTableView1->model()->rowCount(), 0);
    QVERIFY(!m_window->windowTitle().isEmpty());
    QVERIFY(!m_window->windowIcon().isNull());
    QVERIFY(!m_window->Image1->pixmap().isNull());
    QCOMPARE(m_window->Image1->pixmap().deviceIndependentSize().toSize(), QSize(70, 45));
    QCOMPARE(Window::instance(), m_window);
}

void WindowLayoutTest::menus()
{
    QCOMPARE(m_window->PopupMenu1->actions(),
             (QList<QAction *> { m_window->MenuItem1, m_window->MenuItem2 }));
    QCOMPARE(m_window->MenuItem1->text(), QStringLiteral("Aujourd'hui"));
    QCOMPARE(m_window->MenuItem2->text(), QStringLiteral("Hier"));
    QCOMPARE(m_window->cxButton6->dropDownMenu(), m_window->PopupMenu1);
    QCOMPARE(m_window->cxButton6->popupMenu(), m_window->PopupMenu1);
    QCOMPARE(m_window->ModifierleTicket1->text(), QStringLiteral("Modifier le Ticket"));
    QCOMPARE(m_window->cxButton7->popupMenu(), m_window->PopupMenu2);
    QCOMPARE(m_window->Image1->contextMenuPolicy(), Qt::CustomContextMenu);

    // A click on the history button opens its menu under it.
    QTimer::singleShot(0, this, [this] {
        QTRY_VERIFY(m_window->PopupMenu1->isVisible());
        m_window->PopupMenu1->close();
    });
    QTest::mouseClick(m_window->cxButton6, Qt::LeftButton);
    QVERIFY(!m_window->PopupMenu1->isVisible());
}

void WindowLayoutTest::gridColumns()
{
    GridView *grid = m_window->cxGrid2DBTableView1;
    const QStringList captions { QStringLiteral("N°"),   QStringLiteral("Table"),
                                 QStringLiteral("Date"), QString(),
                                 QStringLiteral("Qte"),  QStringLiteral("Heure") };
    const QList<bool> hidden { false, false, true, true, false, false };
    QCOMPARE(grid->columns().size(), 6);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(grid->column(i).caption, captions.at(i));
        QCOMPARE(grid->isColumnHidden(i), hidden.at(i));
    }
    QCOMPARE(grid->column(Window::cxGrid2DBTableView1NUM_VENTE).name,
             QStringLiteral("cxGrid2DBTableView1NUM_VENTE"));
    QVERIFY(!grid->column(Window::cxGrid2DBTableView1VALIDE).headerGlyph.isNull());
    // Fixed columns never narrower than their width, even in a view too narrow for all.
    QCOMPARE(grid->columnWidth(Window::cxGrid2DBTableView1NUM_VENTE), 60);
    QCOMPARE(grid->columnWidth(Window::cxGrid2DBTableView1NUMERO_TABLE), 55);
    QCOMPARE(grid->columnWidth(Window::cxGrid2DBTableView1Column2), 56);
    QCOMPARE(grid->columnWidth(Window::cxGrid2DBTableView1Column3), 100);
    QCOMPARE(grid->horizontalHeader()->height(), 40);
    QCOMPARE(grid->verticalHeader()->width(), 10);
    QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 45);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(!grid->isSortingEnabled());
    QVERIFY(!grid->showGrid());
}

QTEST_MAIN(WindowLayoutTest)
#include "tst_windowlayout.moc"
