#include "forms/TVente_au_comptoir_zedivad.h"

#include "app/ConnectionFile.h"
#include "app/Fonts.h"
#include "app/GlobalHotKey.h"
#include "app/LocalIPAddress.h"
#include "app/SingleInstance.h"
#include "app/SplashScreen.h"
#include "app/StationLanguage.h"
#include "app/Translator.h"
#include "calling/Announcer.h"
#include "data/ConnectionKeeper.h"
#include "data/ConnectionSettings.h"
#include "data/DbError.h"
#include "data/OptionStore.h"
#include "data/QueryDataSource.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/GridView.h"
#include "forms/PendingTileModel.h"
#include "forms/StationButton.h"
#include "forms/StationLook.h"
#include "forms/StatusBar.h"
#include "forms/TFAfficher_Numero.h"
#include "forms/TF_liste_commande.h"
#include "forms/TPassw.h"
#include "forms/TileBoard.h"
#include "tickets/TicketPrinting.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QTimer>

using namespace StationLook;

namespace {

// The window as designed: client area, bars and columns.
constexpr int designWidth = 987;
constexpr int designHeight = 682;
constexpr int topBarHeight = 35;
constexpr int statusBarHeight = 19;
constexpr int boardWidth = 716;
constexpr int boardHeight = 628;
constexpr int validatedColumnWidth = 172;
constexpr int articleBoxHeight = 22;
constexpr int commandColumnWidth = 99;
constexpr int commandColumnMinHeight = 628;
constexpr int commandColumnMaxHeight = 654;
constexpr int languageButtonHeight = 45;
constexpr int quitButtonHeight = 71;
constexpr QSize glyphSize(32, 32);

TVente_au_comptoir_zedivad *theInstance = nullptr;

QWidget *makePanel(QWidget *parent, const QString &name, const QColor &color)
{
    auto *panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, color);
    panel->setPalette(palette);
    return panel;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

StationButton *makeButton(QWidget *parent, const QString &name, const QString &caption, const QFont &font,
                          const QColor &face, const QColor &text)
{
    auto *button = new StationButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setFont(font);
    button->setFaceColor(face);
    button->setTextColor(text);
    return button;
}

/// A command of the right-hand column: green face, white caption, glyph above.
StationButton *makeCommand(QWidget *parent, const QString &name, const QString &caption, const QString &glyph)
{
    StationButton *button = makeButton(parent, name, caption, calibri(15), green, Qt::white);
    button->setGlyph(picture(glyph, glyphSize), StationButton::GlyphPosition::Top);
    return button;
}

} // namespace

TVente_au_comptoir_zedivad::TVente_au_comptoir_zedivad(QWidget *parent)
    : QWidget(parent)
    , m_data(std::make_unique<DataModule>())
    , m_language(std::make_unique<StationLanguage>())
    , UniConnection1(m_data->UniConnection1)
    , Liste_article(m_data->Liste_article)
    , Liste_Commande(m_data->Liste_Commande)
    , Update_commande(m_data->Update_commande)
    , Update_commande1(m_data->Update_commande1)
    , Tickt(m_data->Tickt)
    , OPTION_LOCALS_UTILISATEUR(m_data->OPTION_LOCALS_UTILISATEUR)
    , LAnge(m_language->LAnge)
    , AR(m_language->AR)
    , Fr(m_language->Fr)
    , m_keeper(std::make_unique<ConnectionKeeper>(m_data->UniConnection1))
{
    theInstance = this;
    setObjectName(QStringLiteral("Vente_au_comptoir_zedivad"));
    setWindowTitle(windowCaption());
    setWindowIcon(StationLook::windowIcon());
    // The window keeps left to right whatever language the other windows follow.
    setLayoutDirection(Qt::LeftToRight);
    setFont(arabicTransparent(16));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, darkNavy);
    setPalette(palette);

    m_client = makePanel(this, QStringLiteral("client"), darkNavy);
    m_client->installEventFilter(this);

    buildTopBar();
    buildBoardArea();
    buildStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, [this] { ErrorBox::guard([this] { Timer1Timer(); }, this); });

    Translator1 = new TTranslator(this, nullptr, false);
    connect(cxButton87, &QAbstractButton::clicked, this,
            [this] { ErrorBox::guard([this] { cxButton87Click(); }, this); });
    // A failed store (no login yet, a lost connection) is shown; the box keeps its new state.
    connect(cxCheckBox12, &QCheckBox::toggled, this,
            [this] { ErrorBox::guard([this] { cxCheckBox12PropertiesChange(); }, this); });

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(50);
    connect(Timer2, &QTimer::timeout, this, &TVente_au_comptoir_zedivad::Timer2Timer);

    m_announcer = std::make_unique<Announcer>();
    connectAnnouncer();
    m_tickets = std::make_unique<TicketPrinting>(&Tickt);
    connectValidatedPanel();

    resize(designWidth + 2 * BorderWidth, designHeight + 2 * BorderWidth);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TVente_au_comptoir_zedivad::~TVente_au_comptoir_zedivad()
{
    // A dialog still open over the window (the login dialog when the program
    // ends on its third failure) holds queries on the connection: it goes
    // first, while the connection and the localizers still exist.
    const QList<QDialog *> dialogs = findChildren<QDialog *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(dialogs);
    if (theInstance == this)
        theInstance = nullptr;
}

TVente_au_comptoir_zedivad *TVente_au_comptoir_zedivad::instance()
{
    return theInstance;
}

QString TVente_au_comptoir_zedivad::emptyGridText()
{
    return QStringLiteral("Aucune commande validée");
}

QString TVente_au_comptoir_zedivad::windowCaption()
{
    return QStringLiteral("Cuisine - Appel des commandes");
}

void TVente_au_comptoir_zedivad::buildTopBar()
{
    Panel5 = makePanel(m_client, QStringLiteral("Panel5"), darkNavy);

    cxButton8 = makeButton(Panel5, QStringLiteral("cxButton8"), QString(), calibri(16), darkGreen, yellow);
    cxButton8->setGlyph(picture(QStringLiteral("design"), glyphSize), StationButton::GlyphPosition::Top);

    cxCheckBox12 = new QCheckBox(QStringLiteral("Imprimer le Ticket"), Panel5);
    cxCheckBox12->setObjectName(QStringLiteral("cxCheckBox12"));
    cxCheckBox12->setFont(calibri(15, Weight::Regular));
    cxCheckBox12->setFocusPolicy(Qt::TabFocus);
    cxCheckBox12->setStyleSheet(
        QStringLiteral("QCheckBox { color: white; background: transparent; spacing: 5px; }"
                       "QCheckBox:hover, QCheckBox:disabled { color: %1; }"
                       "QCheckBox::indicator { width: 13px; height: 13px; border: 1px solid #8c8c8c; "
                       "background: #f0f0f0; }"
                       "QCheckBox::indicator:disabled { background: #ecedf1; }"
                       "QCheckBox::indicator:checked { image: url(:/icons/tick.svg); }")
            .arg(css(blue)));
    cxCheckBox12->adjustSize();

    cxButton4 = makeButton(Panel5, QStringLiteral("cxButton4"), QStringLiteral("2eme Ecran"), calibri(19),
                           green, gold);
    cxButton4->setToolTip(QStringLiteral("2eme Ecran"));
    cxButton4->setGlyph(picture(QStringLiteral("people"), glyphSize), StationButton::GlyphPosition::Left);

    Label2 = makeLabel(Panel5, QStringLiteral("Label2"), QStringLiteral("Date de Travail"));
    Label2->setFont(calibri(19));
    setTextColor(Label2, Qt::white);

    cxDateEdit2 = new DateEdit(Panel5);
    cxDateEdit2->setObjectName(QStringLiteral("cxDateEdit2"));
    cxDateEdit2->setFont(calibri(19));
    cxDateEdit2->setStyleSheet(QStringLiteral("QLineEdit { background: #ffffdd; color: palette(window-text);"
                                              " border: 1px solid #7f9db9; }"
                                              "QLineEdit:focus { background: %1; }")
                                   .arg(css(yellow)));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    MenuItem1 = PopupMenu1->addAction(QStringLiteral("Aujourd'hui"));
    MenuItem1->setObjectName(QStringLiteral("MenuItem1"));
    MenuItem2 = PopupMenu1->addAction(QStringLiteral("Hier"));
    MenuItem2->setObjectName(QStringLiteral("MenuItem2"));

    cxButton6 = makeButton(Panel5, QStringLiteral("cxButton6"), QString(), calibri(16), darkGreen, yellow);
    cxButton6->setToolTip(QStringLiteral("Historique"));
    cxButton6->setGlyph(picture(QStringLiteral("clock"), glyphSize), StationButton::GlyphPosition::Top);
    cxButton6->setDropDownMenu(PopupMenu1);
    cxButton6->setPopupMenu(PopupMenu1);

    // State held as text for the other windows; never shown.
    Label1 = makeLabel(Panel5, QStringLiteral("Label1"), QStringLiteral("0"));
    Label12 = makeLabel(Panel5, QStringLiteral("Label12"), QStringLiteral("0"));
    Label3 = makeLabel(Panel5, QStringLiteral("Label3"), QStringLiteral("0"));
    for (QLabel *label : { Label1, Label12, Label3 })
        label->hide();
}

void TVente_au_comptoir_zedivad::buildBoardArea()
{
    Panel6 = makePanel(m_client, QStringLiteral("Panel6"), green);

    Groupe1 = new PendingTileModel(this);
    Groupe1->setObjectName(QStringLiteral("Groupe1"));
    Categories = new TileBoard(Panel6);
    Categories->setObjectName(QStringLiteral("Categories"));
    Categories->setModel(Groupe1);
    connect(Categories, &TileBoard::tileClicked, this, [this](int row) {
        // The handler works on its own copy: the board may be rebuilt under it.
        const PendingTile tile = Groupe1->tile(row);
        ErrorBox::guard([this, &tile] { ArticlesClick(tile); }, this);
    });

    // Over the board, at its top: the board may show old tiles, and the cook must see it.
    m_boardError = makeLabel(Panel6, QStringLiteral("boardError"), QString());
    m_boardError->setWordWrap(true);
    m_boardError->setFont(calibri(15));
    m_boardError->setMargin(4);
    m_boardError->setAutoFillBackground(true);
    QPalette banner = m_boardError->palette();
    banner.setColor(QPalette::Window, QColor(236, 0, 0));
    banner.setColor(QPalette::WindowText, Qt::white);
    m_boardError->setPalette(banner);
    m_boardError->hide();

    buildValidatedColumn();
    buildCommandColumn();
}

void TVente_au_comptoir_zedivad::buildValidatedColumn()
{
    Panel1 = makePanel(Panel6, QStringLiteral("Panel1"), Qt::white);

    cxGrid2DBTableView1 = new GridView(Panel1);
    cxGrid2DBTableView1->setObjectName(QStringLiteral("cxGrid2DBTableView1"));
    cxGrid2DBTableView1->setFont(calibri(21));
    {
        QPalette palette = cxGrid2DBTableView1->palette();
        palette.setColor(QPalette::Base, gold);
        palette.setColor(QPalette::Window, gold);
        cxGrid2DBTableView1->setPalette(palette);
    }
    cxGrid2DBTableView1->setHeaderHeight(40);
    cxGrid2DBTableView1->setIndicatorWidth(10);
    cxGrid2DBTableView1->setRowHeight(45);
    cxGrid2DBTableView1->setEmptyText(emptyGridText());
    cxGrid2DBTableView1->setSelectedRowFont(calibri(24));

    const auto column = [](const QString &name, const QString &caption, int width, bool visible, bool fixed) {
        GridColumn result;
        result.name = name;
        result.caption = caption;
        result.width = width;
        result.visible = visible;
        result.fixed = fixed;
        result.headerFont = calibri(21);
        result.cellFont = calibri(21);
        return result;
    };
    const auto styled = [](GridColumn result, const QColor &text, int pixelHeight) {
        result.headerBackground = gold;
        result.cellBackground = gold;
        result.headerText = text;
        result.cellText = text;
        result.headerFont = calibri(pixelHeight);
        result.cellFont = calibri(pixelHeight);
        return result;
    };
    GridColumn number
        = styled(column(QStringLiteral("cxGrid2DBTableView1NUM_VENTE"), QStringLiteral("N°"), 60, true, true),
                 navy, 27);
    GridColumn table = styled(
        column(QStringLiteral("cxGrid2DBTableView1NUMERO_TABLE"), QStringLiteral("Table"), 55, true, true),
        QColor(0, 98, 0), 21);
    GridColumn date
        = column(QStringLiteral("cxGrid2DBTableView1Column1"), QStringLiteral("Date"), 100, false, false);
    GridColumn valid = column(QStringLiteral("cxGrid2DBTableView1VALIDE"), QString(), 40, false, true);
    valid.headerGlyph = picture(QStringLiteral("check"), glyphSize);
    GridColumn quantity
        = styled(column(QStringLiteral("cxGrid2DBTableView1Column2"), QStringLiteral("Qte"), 56, true, true),
                 maroon, 21);
    GridColumn time = styled(
        column(QStringLiteral("cxGrid2DBTableView1Column3"), QStringLiteral("Heure"), 100, true, true),
        maroon, 21);
    time.cellFont = calibri(15);
    time.cellText = QColor();
    time.cellBackground = QColor();
    cxGrid2DBTableView1->setColumns({ number, table, date, valid, quantity, time });

    // The columns in the grid's order; the grid lists the latest validation
    // first, whatever order the query delivers.
    dListe_Commande
        = new QueryDataSource(Liste_Commande,
                              { { QStringLiteral("NUM_VENTE"), QStringLiteral("N°"), Qt::AlignCenter },
                                { QStringLiteral("NUMERO_TABLE"), QStringLiteral("Table"), Qt::AlignCenter },
                                { QStringLiteral("DATE_VENTE"), QStringLiteral("Date") },
                                { QStringLiteral("VALIDE"), QString(), Qt::AlignCenter },
                                { QStringLiteral("QTE"), QStringLiteral("Qte"), Qt::AlignCenter },
                                { QStringLiteral("TIME_ORDER"), QStringLiteral("Heure"), Qt::AlignCenter } },
                              this);
    dListe_Commande->setObjectName(QStringLiteral("dListe_Commande"));
    dListe_Commande->model()->setSortKeys({ { QStringLiteral("DATE_VENTE"), Qt::DescendingOrder },
                                            { QStringLiteral("TIME_ORDER"), Qt::DescendingOrder } });
    cxGrid2DBTableView1->setModel(dListe_Commande->model());
    dListe_Commande->setSelectionModel(cxGrid2DBTableView1->selectionModel());

    cxDBTextEdit1 = new QLineEdit(Panel1);
    cxDBTextEdit1->setObjectName(QStringLiteral("cxDBTextEdit1"));
    cxDBTextEdit1->setEnabled(false);
    cxDBTextEdit1->setAlignment(Qt::AlignCenter);
    cxDBTextEdit1->setFont(calibri(15));
    cxDBTextEdit1->setFrame(false);
    cxDBTextEdit1->setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; color: %2; border: none; }").arg(css(gold), css(maroon)));
}

void TVente_au_comptoir_zedivad::buildCommandColumn()
{
    Panel3 = makePanel(Panel6, QStringLiteral("Panel3"), green);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    ModifierleTicket1 = PopupMenu2->addAction(QStringLiteral("Modifier le Ticket"));
    ModifierleTicket1->setObjectName(QStringLiteral("ModifierleTicket1"));

    Image1 = makeLabel(Panel3, QStringLiteral("Image1"), QString());
    Image1->setPixmap(picture(QStringLiteral("logo"), QSize(70, 45)));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu2->popup(Image1->mapToGlobal(at)); });

    cxButton3 = makeCommand(Panel3, QStringLiteral("cxButton3"), QStringLiteral("Deuxième\r\nAppel"),
                            QStringLiteral("recall"));
    Panel7 = makePanel(Panel3, QStringLiteral("Panel7"), stripGreen);
    cxButton7 = makeCommand(Panel3, QStringLiteral("cxButton7"), QStringLiteral("Imprimer\r\nLe Ticket"),
                            QStringLiteral("palette"));
    cxButton7->setPopupMenu(PopupMenu2);
    Panel8 = makePanel(Panel3, QStringLiteral("Panel8"), stripGreen);
    cxButton5 = makeCommand(Panel3, QStringLiteral("cxButton5"), QStringLiteral("Liste des\r\nCommanedes"),
                            QStringLiteral("selectall"));
    Panel2 = makePanel(Panel3, QStringLiteral("Panel2"), stripGreen);
    cxButton2 = makeCommand(Panel3, QStringLiteral("cxButton2"), QStringLiteral("dévalider la\r\nCommande"),
                            QStringLiteral("clock"));
    Panel4 = makePanel(Panel3, QStringLiteral("Panel4"), stripGreen);

    cxButton87
        = makeButton(Panel3, QStringLiteral("cxButton87"), QStringLiteral("Fr"), calibri(27), green, yellow);
    cxButton87->setFace(StationButton::Face::Transparent);
    cxButton87->setGlyphSpacing(0);

    cxButton1 = makeButton(Panel3, QStringLiteral("cxButton1"), QStringLiteral("Quitter"), calibri(16),
                           Qt::black, QColor(253, 234, 0));
    cxButton1->setFace(StationButton::Face::UltraFlat);
    cxButton1->setCursor(Qt::PointingHandCursor);
    cxButton1->setGlyph(picture(QStringLiteral("house"), glyphSize), StationButton::GlyphPosition::Top);
}

void TVente_au_comptoir_zedivad::buildStatusBar()
{
    dxStatusBar1 = new StatusBar(m_client);
    dxStatusBar1->setObjectName(QStringLiteral("dxStatusBar1"));
    QPalette palette = dxStatusBar1->palette();
    palette.setColor(QPalette::Window, darkNavy);
    palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
    dxStatusBar1->setPalette(palette);
    dxStatusBar1->setFont(tahoma(11, Weight::Regular));

    struct Panel
    {
        QString text;
        int width;
        QFont font;
        QColor textColor;
        QColor background;
        bool centred;
    };
    const Panel panels[] = {
        { QStringLiteral("Utilisateur"), 60, calibri(13), Qt::white, {}, false },
        { QStringLiteral("Admin"), 80, calibri(13), maroon, QColor(158, 255, 62), true },
        { QStringLiteral("Poste de Travail "), 100, calibri(13), Qt::white, {}, false },
        { QStringLiteral("SERVEUR"), 80, tahoma(11), purple, gold, true },
        { QString(), 100, tahoma(11, Weight::Regular), {}, {}, false },
        { QStringLiteral("IP"), 20, tahoma(11), Qt::white, {}, false },
        { QString(), 120, tahoma(11, Weight::Regular), aqua, {}, false },
        { QString(), 50, tahoma(11, Weight::Regular), {}, {}, false },
        // after the window's own panels, the rest of the bar: the station's notices
        { QString(), 0, tahoma(11), gold, {}, false },
    };
    for (const Panel &panel : panels) {
        QLabel *label = dxStatusBar1->panel(dxStatusBar1->addPanel(panel.text, panel.width));
        label->setFont(panel.font);
        QPalette look = label->palette();
        if (panel.textColor.isValid())
            look.setColor(QPalette::WindowText, panel.textColor);
        if (panel.background.isValid()) {
            look.setColor(QPalette::Window, panel.background);
            label->setAutoFillBackground(true);
        }
        label->setPalette(look);
        if (panel.centred)
            label->setAlignment(Qt::AlignCenter);
    }
}

bool TVente_au_comptoir_zedivad::installDesktopComponents(const QString &identity)
{
    LMDOneInstance1 = new SingleInstance(identity, this);
    if (LMDOneInstance1->isSecondCopy())
        return false;
    connect(LMDOneInstance1, &SingleInstance::activationRequested, this,
            &TVente_au_comptoir_zedivad::bringToFront);
    LMDGlobalHotKey1 = new GlobalHotKey(this);
    return true;
}

void TVente_au_comptoir_zedivad::ForcatmCreate()
{
    Repar = QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator();
    splash = TSplash::showStartup(std::chrono::milliseconds(1000));
    Fonts::registerFontFiles(QDir::currentPath());
    // A language file that cannot be read is shown, and the station starts in
    // Arabic: the language is no reason to stay off the database.
    ErrorBox::guard(
        [this] {
            if (const auto state = m_language->restore(LanguageFile::inWorkingDirectory())) {
                cxButton87->setText(state->caption);
                cxButton87->setTextColor(state->colour);
            }
        },
        this);
    Timer1->start();
}

void TVente_au_comptoir_zedivad::Timer1Timer()
{
    // Off first: the start-up runs once, however long the connection takes.
    Timer1->stop();
    ConnectionSettings settings = ConnectionSettings::fromWorkingDirectory(QDir::currentPath(), QString());
    const ConnectionFile file = ConnectionFile::read(ConnectionFile::fileName(), settings.codepage);
    settings.database = file.database();
    UniConnection1.open(settings);
    dxStatusBar1->setPanelText(4, file.serverLabel());
    dxStatusBar1->setPanelText(6, LocalIPAddress());
    TPassw::execute(*this);
}

void TVente_au_comptoir_zedivad::cxButton87Click()
{
    if (const auto state = m_language->cxButton87Click(cxButton87->text(), LanguageFile::inWorkingDirectory())) {
        cxButton87->setText(state->caption);
        cxButton87->setTextColor(state->colour);
    }
}

void TVente_au_comptoir_zedivad::cxCheckBox12PropertiesChange()
{
    OptionStore(OPTION_LOCALS_UTILISATEUR).cxCheckBox12PropertiesChange(cxCheckBox12->isChecked(), Label12->text());
}

void TVente_au_comptoir_zedivad::categor()
{
    const QDate date = cxDateEdit2->date();
    if (!date.isValid()) {
        // No working date (before the login sets it, or after Clear): an empty board, without an error.
        Groupe1->clear();
        return;
    }
    Liste_article.close();
    Liste_article.setParam(0, DbValue(date));
    Liste_article.open();
    // The board is changed only after the query opened, so a failed rebuild
    // keeps the last tiles; an unchanged result repaints nothing.
    Groupe1->setTiles(PendingTile::fromQuery(Liste_article));
}

void TVente_au_comptoir_zedivad::Timer2Timer()
{
    if (m_keeper->isLost()) {
        // The tiles stay, greyed, until the server answers again; no tick
        // waits for it (the keeper asks on a worker thread).
        try {
            if (!m_keeper->tryReconnect())
                return;
        } catch (const StationError &) {
            return;
        }
        Categories->setStale(false);
        emit databaseReachableChanged(true);
    }
    try {
        categor();
        hideBoardError();
    } catch (const DbError &error) {
        // The codes of an error after the attachment went do not always say
        // so (a transaction or statement handle of the old attachment): ask.
        if (error.isConnectionLost() || !UniConnection1.isAlive()) {
            m_keeper->lost(error.message());
            Categories->setStale(true);
            showBoardError(unreachableText(error.message()));
            emit databaseReachableChanged(false);
        } else {
            showBoardError(QStringLiteral("Le tableau n'est plus actualisé : %1").arg(error.message()));
        }
    } catch (const StationError &error) {
        showBoardError(QStringLiteral("Le tableau n'est plus actualisé : %1").arg(error.message()));
    }
}

bool TVente_au_comptoir_zedivad::databaseReachable() const
{
    return !m_keeper->isLost();
}

QString TVente_au_comptoir_zedivad::unreachableText(const QString &detail)
{
    return QStringLiteral("La base de données est injoignable : le tableau n'est plus actualisé, "
                          "reconnexion automatique en cours.\n%1")
        .arg(detail);
}

void TVente_au_comptoir_zedivad::showBoardError(const QString &text)
{
    if (m_boardError->isVisible() && m_boardError->text() == text)
        return;
    m_boardError->setText(text);
    m_boardError->setGeometry(0, 0, boardWidth, m_boardError->heightForWidth(boardWidth));
    m_boardError->show();
    m_boardError->raise();
}

void TVente_au_comptoir_zedivad::hideBoardError()
{
    if (m_boardError->isVisible())
        m_boardError->hide();
}

void TVente_au_comptoir_zedivad::FormClose()
{
    // Ends the program whatever other window is open: no other window can hold it up.
    QCoreApplication::exit(0);
}

void TVente_au_comptoir_zedivad::bringToFront()
{
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TVente_au_comptoir_zedivad::connectValidatedPanel()
{
    const auto handle = [this](auto handler) {
        return [this, handler] { ErrorBox::guard([this, handler] { (this->*handler)(); }, this); };
    };
    connect(cxButton3, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton3Click));
    connect(cxButton7, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton7Click));
    connect(cxButton2, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton2Click));
    connect(cxButton5, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton5Click));
    connect(cxButton1, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton1Click));
    connect(cxButton4, &QAbstractButton::clicked, this, handle(&TVente_au_comptoir_zedivad::cxButton4Click));
    connect(MenuItem1, &QAction::triggered, this, handle(&TVente_au_comptoir_zedivad::MenuItem1Click));
    connect(MenuItem2, &QAction::triggered, this, handle(&TVente_au_comptoir_zedivad::MenuItem2Click));
    connect(cxGrid2DBTableView1, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        ErrorBox::guard([this, &index] { cxGrid2DBTableView1CellDblClick(index.row()); }, this);
    });

    // One change of the date sets off several of these; each re-reads, and a
    // failure is shown once.
    m_dateReload.attach(
        cxDateEdit2, this, [this] { cxDateEdit2PropertiesChange(); },
        [this] { cxDateEdit2PropertiesEditValueChanged(); }, [this] { cxDateEdit2PropertiesCloseUp(); });

    // The article box follows the current validated line.
    connect(dListe_Commande, &QueryDataSource::currentChanged, this,
            [this] { cxDBTextEdit1->setText(dListe_Commande->currentText(QStringLiteral("ARTICLE"))); });
}

TFAfficher_Numero *TVente_au_comptoir_zedivad::createCustomerDisplay()
{
    if (!m_display) {
        m_display = std::make_unique<TFAfficher_Numero>();
        m_display->setObjectName(QStringLiteral("FAfficher_Numero"));
        // Closing it only hides it; the flag goes with it.
        connect(m_display.get(), &TFAfficher_Numero::closed, this, [this] { Label3->setText(QString()); });
    }
    return m_display.get();
}

void TVente_au_comptoir_zedivad::setAnnouncer(std::unique_ptr<Announcer> announcer)
{
    m_announcer = std::move(announcer);
    connectAnnouncer();
}

void TVente_au_comptoir_zedivad::connectAnnouncer()
{
    // Without a sound device the numbers are only shown: the status bar says
    // so for the rest of the run, the reason in its tool tip.
    connect(m_announcer.get(), &Announcer::soundUnavailable, this, [this](const QString &reason) {
        dxStatusBar1->setPanelText(soundPanel, QStringLiteral("Sans son : les numéros ne sont pas annoncés"));
        dxStatusBar1->panel(soundPanel)->setToolTip(reason);
    });
}

void TVente_au_comptoir_zedivad::setToday(std::function<QDate()> today)
{
    m_today = std::move(today);
}

bool TVente_au_comptoir_zedivad::displayOpen() const
{
    return Label3->text() == QLatin1String("F");
}

void TVente_au_comptoir_zedivad::appel(int number)
{
    m_announcer->appel(number);
}

void TVente_au_comptoir_zedivad::imprimerTicket(const DbValue &numVente, const DbValue &cleArt,
                                                const DbValue &taille)
{
    m_tickets->imprimerTicket(Tickt, numVente, cleArt, taille, cxDateEdit2->date());
}

void TVente_au_comptoir_zedivad::ArticlesClick(const PendingTile &Sender)
{
    Timer2->stop();
    // on again at every way out: the guards below and any error included
    const auto resume = qScopeGuard([this] { Timer2->start(); });

    // From here on only this copy: the tile may be gone after the events below.
    const PendingTile tile = Sender;

    // A tile exists only when the last rebuild found rows; a closed query, or
    // no working date at all, has none.
    const QDate workingDate = cxDateEdit2->date();
    if (!workingDate.isValid() || !displayOpen())
        return;
    // Known unreachable (the failed tick has closed the query, too): one
    // clear error, nothing stored, shown or called.
    if (!databaseReachable())
        throw StationError(QStringLiteral("La base de données est injoignable : la commande n'a pas été validée."));
    if (!Liste_article.isOpen() || Liste_article.isEmpty())
        return;

    Update_commande.setParam(0, TimeOfDay::currentTime());
    Update_commande.setParam(1, tile.number);
    Update_commande.setParam(2, tile.key);
    Update_commande.setParam(3, tile.sizeValue());
    Update_commande.setParam(4, workingDate);
    Update_commande.execute();

    // The latest time of day is the query's last row: the line just validated,
    // which the grid shows on top.
    dListe_Commande->open(QueryDataSource::Current::Last);

    if (m_display)
        m_display->afficherNumero(tile.number, tile.article);
    // The display finishes painting before the print and the announcement block the thread.
    QCoreApplication::processEvents();

    if (cxCheckBox12->isChecked())
        imprimerTicket(tile.number, tile.key, tile.sizeValue());

    appel(tile.number.toInt());
}

void TVente_au_comptoir_zedivad::cxButton3Click()
{
    if (dListe_Commande->currentRow() < 0)
        return;
    if (!displayOpen())
        return;
    callCurrentLine();
}

void TVente_au_comptoir_zedivad::cxGrid2DBTableView1CellDblClick(int row)
{
    dListe_Commande->setCurrentRow(row);
    if (dListe_Commande->currentRow() < 0)
        return;
    // The display is written even while closed: it shows the line when next opened.
    callCurrentLine();
}

void TVente_au_comptoir_zedivad::callCurrentLine()
{
    if (m_display)
        m_display->afficherNumero(Liste_Commande.asText(QStringLiteral("NUM_VENTE")),
                                  Liste_Commande.asText(QStringLiteral("ARTICLE")));
    appel(int(Liste_Commande.asInteger(QStringLiteral("NUM_VENTE"))));
}

void TVente_au_comptoir_zedivad::cxButton7Click()
{
    // No validated line names no label to print.
    if (dListe_Commande->currentRow() < 0)
        return;
    // the size as stored: a NULL size finds its own line
    imprimerTicket(Liste_Commande.field(QStringLiteral("NUM_VENTE")),
                   Liste_Commande.field(QStringLiteral("CLE_ART")),
                   Liste_Commande.field(QStringLiteral("TAILLE")));
}

void TVente_au_comptoir_zedivad::cxButton2Click()
{
    // No validated line names no line to withdraw.
    if (dListe_Commande->currentRow() < 0)
        return;
    Update_commande1.setParam(0, Liste_Commande.field(QStringLiteral("NUM_VENTE")));
    Update_commande1.setParam(1, Liste_Commande.field(QStringLiteral("CLE_ART")));
    // order numbers start again every day: the working date's line only
    Update_commande1.setParam(2, cxDateEdit2->date());
    Update_commande1.execute();
    dListe_Commande->open(QueryDataSource::Current::Top);
    categor();
}

void TVente_au_comptoir_zedivad::cxButton5Click()
{
    TF_liste_commande dialog(
        UniConnection1, [this] { categor(); }, this);
    dialog.setDatabaseReachable(databaseReachable());
    connect(this, &TVente_au_comptoir_zedivad::databaseReachableChanged, &dialog,
            &TF_liste_commande::setDatabaseReachable);
    dialog.exec();
}

void TVente_au_comptoir_zedivad::cxButton1Click()
{
    close();
}

void TVente_au_comptoir_zedivad::cxButton4Click()
{
    createCustomerDisplay()->showInFront();
    Label3->setText(QStringLiteral("F"));
}

void TVente_au_comptoir_zedivad::workingDateReload()
{
    const QDate date = cxDateEdit2->date();
    Liste_Commande.close();
    Liste_Commande.setParam(0, date);
    if (!date.isValid()) {
        // No working date (Clear): empty lists, without asking the database.
        dListe_Commande->queryChanged();
        categor();
        return;
    }
    // a failure here leaves the grid empty and the board to the next refresh
    dListe_Commande->open(QueryDataSource::Current::Top);
    categor();
}

void TVente_au_comptoir_zedivad::MenuItem1Click()
{
    cxDateEdit2->setDate(m_today());
    // once more, so the lists are re-read even when the date was today already
    m_dateReload.run([this] { workingDateReload(); }, this);
}

void TVente_au_comptoir_zedivad::MenuItem2Click()
{
    cxDateEdit2->setDate(m_today().addDays(-1));
    m_dateReload.run([this] { workingDateReload(); }, this);
}

void TVente_au_comptoir_zedivad::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        FormClose();
}

void TVente_au_comptoir_zedivad::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_client->setGeometry(rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth));
}

bool TVente_au_comptoir_zedivad::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layoutClient();
    return QWidget::eventFilter(watched, event);
}

void TVente_au_comptoir_zedivad::layoutClient()
{
    const int width = m_client->width();
    const int height = m_client->height();
    // Controls anchored to the right keep their distance from the right edge.
    const int right = width - designWidth;

    Panel5->setGeometry(0, 0, width, topBarHeight);
    cxButton8->setGeometry(0, -2, 48, 39);
    cxCheckBox12->move(70, 3);
    cxButton4->setGeometry(418 + right, -8, 145, 42);
    Label2->setGeometry(580 + right, 2, 118, 23);
    cxDateEdit2->setGeometry(716 + right, -2, 172, cxDateEdit2->sizeHint().height());
    cxButton6->setGeometry(894 + right, -7, 93, 41);

    dxStatusBar1->setGeometry(0, height - statusBarHeight, width, statusBarHeight);

    const int boardAreaHeight = height - topBarHeight - statusBarHeight;
    Panel6->setGeometry(0, topBarHeight, width, boardAreaHeight);
    // The board keeps its size: a wider window shows the green ground beside it,
    // a narrower one lets the columns cover its right part.
    Categories->setGeometry(0, 0, boardWidth, boardHeight);

    const int commandHeight = qBound(commandColumnMinHeight, boardAreaHeight, commandColumnMaxHeight);
    Panel3->setGeometry(width - commandColumnWidth, 0, commandColumnWidth, commandHeight);
    Panel1->setGeometry(width - commandColumnWidth - validatedColumnWidth, 0, validatedColumnWidth,
                        boardAreaHeight);
    Panel1->raise();
    Panel3->raise();

    cxDBTextEdit1->setGeometry(0, boardAreaHeight - articleBoxHeight, validatedColumnWidth, articleBoxHeight);
    cxGrid2DBTableView1->setGeometry(0, 0, validatedColumnWidth, boardAreaHeight - articleBoxHeight);

    const int column = commandColumnWidth;
    Image1->setGeometry(0, 0, column, 67);
    cxButton3->setGeometry(0, 67, column, 89);
    Panel7->setGeometry(0, 156, column, 4);
    cxButton7->setGeometry(0, 160, column, 91);
    Panel8->setGeometry(0, 251, column, 4);
    cxButton5->setGeometry(0, 255, column, 91);
    Panel2->setGeometry(0, 346, column, 4);
    cxButton2->setGeometry(0, 350, column, 85);
    Panel4->setGeometry(0, 435, column, 4);
    cxButton1->setGeometry(0, commandHeight - quitButtonHeight, column, quitButtonHeight);
    cxButton87->setGeometry(0, commandHeight - quitButtonHeight - languageButtonHeight, column,
                            languageButtonHeight);
}
