#pragma once

#include "data/DataModule.h"
#include "data/PendingTile.h"
#include "forms/DateReloadGuard.h"

#include <QDate>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class Announcer;
class ConnectionKeeper;
class DateEdit;
class StationLanguage;
class TLocalizer;
class TSplash;
class TTranslator;
class GlobalHotKey;
class GridView;
class PendingTileModel;
class QAbstractItemModel;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QueryDataSource;
class SingleInstance;
class StationButton;
class StatusBar;
class TFAfficher_Numero;
class TicketPrinting;
class TileBoard;

/// The station's main window: the top bar with the print option, the working
/// date and the history menu; the tile board of pending lines beside the
/// validated-lines column and the command column; the status bar. It lives
/// for the whole run and owns the database connection, its queries and both
/// timers. Every other window reaches shared state through instance().
///
/// Components keep their names, as public members: other windows and handlers
/// use them directly (the hidden labels Label1, Label12 and Label3 hold state
/// as their text).
class TVente_au_comptoir_zedivad : public QWidget
{
    Q_OBJECT

    // First of all members: the references below are bound to it.
    std::unique_ptr<DataModule> m_data;
    // The language's localizers, bound likewise; their catalog is opened as
    // the window is built, and one that cannot be read stops the building.
    std::unique_ptr<StationLanguage> m_language;

public:
    /// Builds every component; nothing runs yet (see installDesktopComponents
    /// and ForcatmCreate).
    explicit TVente_au_comptoir_zedivad(QWidget *parent = nullptr);
    ~TVente_au_comptoir_zedivad() override;

    /// The one main window of the program (the latest one built), or nullptr.
    static TVente_au_comptoir_zedivad *instance();

    /// The width of the band between the window's edge and its client area.
    static constexpr int BorderWidth = 5;
    /// The client area: every region and control stands in it. At the first
    /// size it is 987 x 682.
    QWidget *clientArea() const { return m_client; }

    /// Registers the program with the single-instance guard under identity and
    /// holds F1 as the desktop's hot key. Returns false when another copy runs:
    /// it has been asked to come to the front, and this copy must end at once.
    bool installDesktopComponents(const QString &identity);

    // Handlers of the window and its timers.
    /// Creation: working folder, fonts, armed start-up timer.
    void ForcatmCreate();
    /// Start-up: connection file, connection, status-bar panels 4 and 6.
    /// An error ends it at the failing step (the caller shows it).
    void Timer1Timer();
    /// Closing the window ends the program.
    void FormClose();
    /// Restores the window if minimised and brings it to the front.
    void bringToFront();
    /// The language button: saves the other language and switches to it.
    void cxButton87Click();
    /// The print-option box changed: stores its state for the current user.
    void cxCheckBox12PropertiesChange();

    /// A touch on an order tile; Sender is a copy of the touched tile's values.
    /// While the customer display is open: validates the line on the working
    /// date with the time of day, makes it the current validated line, shows
    /// it on the display, prints its label when the print option is on and
    /// calls its number. The board refresh is off meanwhile and on again at
    /// every way out. An error ends it at the failing step and reaches the
    /// caller (the error box).
    void ArticlesClick(const PendingTile &Sender);

    // The validated-lines panel and its commands. With no validated line,
    // recall, reprint and line withdrawal do nothing.
    /// Recall: the current validated line on the customer display and by
    /// voice, while the display is open.
    void cxButton3Click();
    /// Recall without the display test, for the double-clicked row.
    void cxGrid2DBTableView1CellDblClick(int row);
    /// Reprint of the current validated line's label.
    void cxButton7Click();
    /// Line withdrawal: the current line's order number and article, every
    /// size, on the working date, become pending again; the list and the
    /// board are read afresh.
    void cxButton2Click();
    /// The validated-orders dialog, modally (the board refresh goes on behind it).
    void cxButton5Click();
    /// Quit: closes the window, which ends the program.
    void cxButton1Click();
    /// The second screen: shows the customer display and sets the display-open flag.
    void cxButton4Click();
    /// The working-date editor's three notifications all run the working-date reload.
    void cxDateEdit2PropertiesChange() { workingDateReload(); }
    void cxDateEdit2PropertiesEditValueChanged() { workingDateReload(); }
    void cxDateEdit2PropertiesCloseUp() { workingDateReload(); }
    /// "Aujourd'hui": today into the editor, then the reload once more.
    void MenuItem1Click();
    /// "Hier": the day before today into the editor, then the reload.
    void MenuItem2Click();
    /// Re-reads the validated lines for the working date (the newest on top
    /// becomes current), then rebuilds the board. When the list cannot be
    /// read the grid is empty and the board is left to the next refresh.
    void workingDateReload();

    /// True while the customer display is open (Label3 holds "F").
    bool displayOpen() const;
    /// Announces number by voice; returns when the last clip has played.
    void appel(int number);
    /// Prints the label of one order line of the working date, straight to the printer.
    void imprimerTicket(const DbValue &numVente, const DbValue &cleArt, const DbValue &taille);

    /// The customer display, created hidden right after this window (and kept
    /// as long as it). Creating it again returns the same one.
    TFAfficher_Numero *createCustomerDisplay();
    TFAfficher_Numero *FAfficher_Numero() const { return m_display.get(); }
    /// Where announcements play; the station's sound device unless replaced (tests).
    void setAnnouncer(std::unique_ptr<Announcer> announcer);
    /// The status bar panel, after the eight of the window's design, that says
    /// the numbers are not called out: no sound device opened.
    static constexpr int soundPanel = 8;
    Announcer &announcer() const { return *m_announcer; }
    /// The label printing (frxReport1 and its designer).
    TicketPrinting &ticketPrinting() const { return *m_tickets; }
    /// Where the history menu takes today's date from; the system's date
    /// unless replaced (tests).
    void setToday(std::function<QDate()> today);

    /// The validated lines of the working date, as the grid and the article box show them.
    QueryDataSource *dListe_Commande = nullptr;

    /// Rebuilds the board from the pending lines of the working date (none
    /// while the date editor is empty). A database error leaves the board as
    /// it was and reaches the caller.
    void categor();
    /// The board refresh: rebuilds the board; an error is shown in the banner
    /// over the board (not in a box) until a tick succeeds again. After a
    /// lost connection the board is greyed and keeps its tiles, and the ticks
    /// bring the connection back by themselves (ConnectionKeeper); the first
    /// tick with the connection back rebuilds the board.
    void Timer2Timer();
    /// The banner over the board that tells of a failed refresh; hidden while the board is fresh.
    QLabel *boardErrorBanner() const { return m_boardError; }
    /// False from a tick that found the database unreachable until the
    /// connection is back.
    bool databaseReachable() const;
    /// The banner's text while the database cannot be reached (detail: the error).
    static QString unreachableText(const QString &detail);

    // The connection and every query and statement of the window.
    DataModule &dataModule() { return *m_data; }
    DbConnection &UniConnection1;
    DbQuery &Liste_article;
    DbQuery &Liste_Commande;
    DbStatement &Update_commande;
    DbStatement &Update_commande1;
    DbQuery &Tickt;
    DbQuery &OPTION_LOCALS_UTILISATEUR;

    /// Working folder at start-up, followed by the folder separator.
    QString Repar;
    /// The start-up splash, kept after it was closed.
    std::unique_ptr<TSplash> splash;

    // Language: LAnge holds the current one, AR and Fr the two cultures.
    StationLanguage &language() { return *m_language; }
    TLocalizer &LAnge;
    TLocalizer &AR;
    TLocalizer &Fr;
    /// The window's own translator: bound to no localizer, it translates nothing.
    TTranslator *Translator1 = nullptr;

    // Top bar.
    QWidget *Panel5 = nullptr;
    StationButton *cxButton8 = nullptr; ///< label design
    QCheckBox *cxCheckBox12 = nullptr; ///< print option
    StationButton *cxButton4 = nullptr; ///< second screen
    QLabel *Label2 = nullptr;
    DateEdit *cxDateEdit2 = nullptr; ///< working date
    StationButton *cxButton6 = nullptr; ///< history, drop-down PopupMenu1
    QMenu *PopupMenu1 = nullptr;
    QAction *MenuItem1 = nullptr; ///< "Aujourd'hui"
    QAction *MenuItem2 = nullptr; ///< "Hier"
    QLabel *Label1 = nullptr; ///< hidden: current workstation
    QLabel *Label12 = nullptr; ///< hidden: current user key
    QLabel *Label3 = nullptr; ///< hidden: "F" while the customer display is open

    // Board area.
    QWidget *Panel6 = nullptr;
    TileBoard *Categories = nullptr;
    PendingTileModel *Groupe1 = nullptr; ///< the tiles of Categories
    QWidget *Panel1 = nullptr;
    GridView *cxGrid2DBTableView1 = nullptr;
    QLineEdit *cxDBTextEdit1 = nullptr;
    QWidget *Panel3 = nullptr;
    QLabel *Image1 = nullptr; ///< logo, context menu PopupMenu2
    QMenu *PopupMenu2 = nullptr;
    QAction *ModifierleTicket1 = nullptr; ///< "Modifier le Ticket"
    StationButton *cxButton3 = nullptr; ///< recall
    QWidget *Panel7 = nullptr;
    StationButton *cxButton7 = nullptr; ///< reprint, context menu PopupMenu2
    QWidget *Panel8 = nullptr;
    StationButton *cxButton5 = nullptr; ///< validated-orders dialog
    QWidget *Panel2 = nullptr;
    StationButton *cxButton2 = nullptr; ///< line withdrawal
    QWidget *Panel4 = nullptr;
    StationButton *cxButton87 = nullptr; ///< language
    StationButton *cxButton1 = nullptr; ///< quit

    StatusBar *dxStatusBar1 = nullptr;

    QTimer *Timer1 = nullptr; ///< start-up, 50 ms, fires once
    QTimer *Timer2 = nullptr; ///< board refresh, 50 ms

    SingleInstance *LMDOneInstance1 = nullptr;
    GlobalHotKey *LMDGlobalHotKey1 = nullptr;

    /// Column positions of cxGrid2DBTableView1 in its model.
    enum ValidatedColumn {
        cxGrid2DBTableView1NUM_VENTE,
        cxGrid2DBTableView1NUMERO_TABLE,
        cxGrid2DBTableView1Column1, ///< DATE_VENTE, hidden
        cxGrid2DBTableView1VALIDE, ///< hidden
        cxGrid2DBTableView1Column2, ///< QTE
        cxGrid2DBTableView1Column3, ///< TIME_ORDER
    };

    /// The text the validated-line grid shows while it has no row.
    static QString emptyGridText();
    static QString windowCaption();

signals:
    /// The database became unreachable, or reachable again.
    void databaseReachableChanged(bool reachable);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTopBar();
    void buildBoardArea();
    void buildValidatedColumn();
    void buildCommandColumn();
    void buildStatusBar();
    void layoutClient();
    void showBoardError(const QString &text);
    void hideBoardError();
    void connectValidatedPanel();
    void connectAnnouncer();
    /// The announcement of the current validated line (recall).
    void callCurrentLine();

    QWidget *m_client = nullptr;
    std::unique_ptr<TFAfficher_Numero> m_display;
    std::unique_ptr<Announcer> m_announcer;
    std::unique_ptr<TicketPrinting> m_tickets;
    DateReloadGuard m_dateReload;
    std::function<QDate()> m_today = &QDate::currentDate;
    QLabel *m_boardError = nullptr;
    // Destroyed before the connection it brings back (declared after m_data).
    std::unique_ptr<ConnectionKeeper> m_keeper;
};
