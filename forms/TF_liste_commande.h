#pragma once

#include "data/DbQuery.h"
#include "data/DbStatement.h"
#include "forms/DateReloadGuard.h"

#include <QDialog>
#include <functional>

class DateEdit;
class DbConnection;
class GridView;
class QLabel;
class QueryDataSource;
class StationButton;

/// The validated-orders dialog: the validated lines of one date (its own date,
/// apart from the main window's working date) with the sale time and table of
/// each, and the withdrawal of a whole order at once. A new dialog is made for
/// each opening, shown modally and discarded when closed.
///
/// It follows the application's reading order (right to left under Arabic).
class TF_liste_commande : public QDialog
{
    Q_OBJECT

public:
    /// Runs its query and statement on the station's connection; categor
    /// rebuilds the main window's board after an order withdrawal (it may be
    /// empty). The query stays closed until the dialog is shown.
    TF_liste_commande(DbConnection &UniConnection1, std::function<void()> categor, QWidget *parent = nullptr);
    ~TF_liste_commande() override;

    static QString windowCaption() { return QStringLiteral("Liste Commande  "); }
    /// The text the grid shows while it has no row.
    static QString emptyGridText();

    /// The validated lines of the dialog date, in the order the server
    /// returns them. Parameter 0: DATE_VENTE (an empty date selects nothing).
    static const QString Liste_CommandeSql;
    /// The withdrawal of one order on one date: every line of that number on
    /// the date becomes pending again, whatever its article and size; its
    /// validation time is kept. Parameters: NUM_VENTE, DATE_VENTE.
    static const QString Update_commandeSql;

    // Handlers.
    /// Shown: today's date goes into the dialog date, which re-lists it.
    void FormShow();
    /// The three notifications of the date editor all re-list the dialog date.
    void cxDateEdit2PropertiesChange() { reloadDialogDate(); }
    void cxDateEdit2PropertiesEditValueChanged() { reloadDialogDate(); }
    void cxDateEdit2PropertiesCloseUp() { reloadDialogDate(); }
    /// Order withdrawal of the current row's order on the dialog date, then a
    /// re-read of the list and a rebuild of the main window's board. With an
    /// empty list it does nothing.
    void cxButton2Click();
    /// "Retour": closes the dialog.
    void cxButton1Click();

    /// The main window's news of the connection: while unreachable a banner
    /// says so and the withdrawal refuses with one error; back again, the
    /// list is read afresh.
    void setDatabaseReachable(bool reachable);
    bool databaseReachable() const { return m_reachable; }
    QLabel *unreachableBanner() const { return m_unreachable; }
    static QString unreachableText();

    /// Column positions of cxGrid2DBTableView1 in its model.
    enum Column {
        cxGrid2DBTableView1NUM_VENTE,
        cxGrid2DBTableView1DATE_VENTE,
        cxGrid2DBTableView1TIME_VENTE,
        cxGrid2DBTableView1NUMERO_TABLE,
    };

    DbQuery Liste_Commande;
    DbStatement Update_commande;
    QueryDataSource *dListe_Commande = nullptr;

    QWidget *Panel1 = nullptr; ///< top bar
    StationButton *cxButton1 = nullptr; ///< "Retour"
    QLabel *Label1 = nullptr;
    DateEdit *cxDateEdit2 = nullptr; ///< the dialog date
    StationButton *cxButton2 = nullptr; ///< order withdrawal
    GridView *cxGrid2DBTableView1 = nullptr;
    /// The footer under the grid; its count stands under the "N° Vente " column.
    QWidget *footer() const { return m_footer; }
    QLabel *footerCount() const { return m_footerCount; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTopBar();
    void buildGrid();
    /// Closes the query, gives it the dialog date and opens it again; the
    /// grid and the footer follow, also when the open fails.
    void reloadDialogDate();
    void placeFooterCount();

    std::function<void()> m_categor;
    DateReloadGuard m_dateReload;
    QWidget *m_footer = nullptr;
    QLabel *m_footerCount = nullptr;
    bool m_shown = false;
    bool m_reachable = true;
    QLabel *m_unreachable = nullptr;
};
