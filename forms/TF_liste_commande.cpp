#include "forms/TF_liste_commande.h"

#include "data/DbConnection.h"
#include "data/QueryDataSource.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/GridView.h"
#include "forms/StationButton.h"
#include "forms/StationLook.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

using namespace StationLook;

namespace {

constexpr int clientWidth = 698;
constexpr int clientHeight = 580;
constexpr int topBarHeight = 49;
constexpr int footerHeight = 30;
const QColor gridLine(0xE4, 0xE4, 0xE4);

/// The dialog's grid: the station's grid with vertical lines between the
/// columns of the rows.
class LinedGridView : public GridView
{
public:
    using GridView::GridView;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        GridView::paintEvent(event);
        if (!model() || model()->rowCount() == 0)
            return;
        const int lastRow = model()->rowCount() - 1;
        const int bottom = qMin(viewport()->height(), rowViewportPosition(lastRow) + rowHeight(lastRow));
        QPainter painter(viewport());
        painter.setPen(gridLine);
        for (int column = 0; column < model()->columnCount(); ++column) {
            if (isColumnHidden(column))
                continue;
            const int left = columnViewportPosition(column);
            // the line stands at the column's trailing edge in either reading order
            const int x = isRightToLeft() ? left : left + columnWidth(column) - 1;
            painter.drawLine(x, 0, x, bottom - 1);
        }
    }
};

} // namespace

// The date filter is a half-open range on DATE_VENTE: an index on the column
// serves it (a cast of the column cannot use one), and a TIMESTAMP column
// gives the same rows as a DATE column.
const QString TF_liste_commande::Liste_CommandeSql = QStringLiteral(
    "Select *\n"
    "From  LISTE_COMMANDE\n"
    "where (VALIDE='True') And ( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as date) + 1)");

// Order numbers start again every day: the withdrawal keeps to the listed
// date, so today's order 17 never makes last week's order 17 pending again.
const QString TF_liste_commande::Update_commandeSql
    = QStringLiteral("Update LISTE_COMMANDE\n"
                     "set VALIDE='False'\n"
                     "WHere NUM_VENTE=:NUM_VENTE and ( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < "
                     "Cast(:DATE_VENTE as date) + 1)");

TF_liste_commande::TF_liste_commande(DbConnection &UniConnection1, std::function<void()> categor,
                                     QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , Liste_Commande(UniConnection1, Liste_CommandeSql)
    , Update_commande(UniConnection1, Update_commandeSql)
    , m_categor(std::move(categor))
{
    setObjectName(QStringLiteral("F_liste_commande"));
    setWindowTitle(windowCaption());
    setModal(true);
    setFont(tahoma(11, Weight::Regular));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Base, Qt::white);
    setPalette(palette);

    dListe_Commande = new QueryDataSource(
        Liste_Commande,
        { { QStringLiteral("NUM_VENTE"), QStringLiteral("N° Vente "), Qt::AlignCenter },
          { QStringLiteral("DATE_VENTE"), QStringLiteral("Date Vente"), Qt::AlignLeading | Qt::AlignVCenter },
          { QStringLiteral("TIME_VENTE"), QStringLiteral("Heure"), Qt::AlignLeading | Qt::AlignVCenter },
          { QStringLiteral("NUMERO_TABLE"), QStringLiteral("N° table"), Qt::AlignCenter } },
        this);
    dListe_Commande->setObjectName(QStringLiteral("dListe_Commande"));

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(1, 1, 1, 1); // the 1-pixel border
    column->setSpacing(0);
    buildTopBar();
    buildGrid();
    // Under the top bar while the database cannot be reached: the list may be old.
    m_unreachable = new QLabel(this);
    m_unreachable->setObjectName(QStringLiteral("unreachable"));
    m_unreachable->setText(unreachableText());
    m_unreachable->setWordWrap(true);
    m_unreachable->setFont(calibri(15));
    m_unreachable->setMargin(4);
    m_unreachable->setAutoFillBackground(true);
    QPalette banner = m_unreachable->palette();
    banner.setColor(QPalette::Window, QColor(236, 0, 0));
    banner.setColor(QPalette::WindowText, Qt::white);
    m_unreachable->setPalette(banner);
    m_unreachable->hide();
    column->addWidget(Panel1);
    column->addWidget(m_unreachable);
    column->addWidget(cxGrid2DBTableView1, 1);
    column->addWidget(m_footer);

    setFixedSize(clientWidth, clientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TF_liste_commande::~TF_liste_commande() = default;

QString TF_liste_commande::emptyGridText()
{
    return QStringLiteral("Aucune commande validée à cette date");
}

void TF_liste_commande::buildTopBar()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(topBarHeight);
    Panel1->setAutoFillBackground(true);
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, green);
    Panel1->setPalette(palette);

    cxButton1 = new StationButton(Panel1);
    cxButton1->setObjectName(QStringLiteral("cxButton1"));
    cxButton1->setText(QStringLiteral("Retour"));
    cxButton1->setFont(calibri(16));
    cxButton1->setFace(StationButton::Face::Transparent);
    cxButton1->setFaceColor(green);
    cxButton1->setTextColor(QColor(0xFD, 0xEA, 0x00));
    cxButton1->setCursor(Qt::PointingHandCursor);
    cxButton1->setGlyph(picture(QStringLiteral("house"), QSize(32, 32)), StationButton::GlyphPosition::Left);
    cxButton1->setFixedSize(105, topBarHeight);
    connect(cxButton1, &QAbstractButton::clicked, this, [this] { cxButton1Click(); });

    Label1 = new QLabel(QStringLiteral("Date de Travail"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(calibri(19));
    QPalette white = Label1->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(white);

    cxDateEdit2 = new DateEdit(Panel1);
    cxDateEdit2->setObjectName(QStringLiteral("cxDateEdit2"));
    cxDateEdit2->setFont(calibri(19));
    cxDateEdit2->setFixedWidth(132);
    cxDateEdit2->setStyleSheet(QStringLiteral("QLineEdit { background: #ffffdd; color: black;"
                                              " border: 1px solid #7f9db9; }"
                                              "QLineEdit:focus { background: %1; }")
                                   .arg(css(yellow)));
    m_dateReload.attach(
        cxDateEdit2, this, [this] { cxDateEdit2PropertiesChange(); },
        [this] { cxDateEdit2PropertiesEditValueChanged(); }, [this] { cxDateEdit2PropertiesCloseUp(); });

    cxButton2 = new StationButton(Panel1);
    cxButton2->setObjectName(QStringLiteral("cxButton2"));
    cxButton2->setText(QStringLiteral("dévalider la Commande"));
    cxButton2->setFont(calibri(16));
    cxButton2->setFaceColor(darkGreen);
    cxButton2->setTextColor(yellow);
    cxButton2->setGlyph(picture(QStringLiteral("clock"), QSize(32, 32)), StationButton::GlyphPosition::Left);
    cxButton2->setFixedSize(233, 44);
    connect(cxButton2, &QAbstractButton::clicked, this,
            [this] { ErrorBox::guard([this] { cxButton2Click(); }, this); });

    // A layout rather than fixed places: the bar mirrors with the reading order.
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addWidget(cxButton1);
    row->addSpacing(40);
    row->addWidget(Label1);
    row->addSpacing(8);
    row->addWidget(cxDateEdit2);
    row->addStretch(1);
    row->addWidget(cxButton2);
    row->addSpacing(3);
}

void TF_liste_commande::buildGrid()
{
    cxGrid2DBTableView1 = new LinedGridView(this);
    cxGrid2DBTableView1->setObjectName(QStringLiteral("cxGrid2DBTableView1"));
    cxGrid2DBTableView1->setFont(calibri(16));
    cxGrid2DBTableView1->setHeaderHeight(30);
    cxGrid2DBTableView1->setRowHeight(35);
    cxGrid2DBTableView1->setIndicatorWidth(10);
    cxGrid2DBTableView1->setEmptyText(emptyGridText());
    cxGrid2DBTableView1->setSelectedRowFont(calibri(16));
    cxGrid2DBTableView1->setSelectedRowColors(Qt::black, QColor(0xFF, 0xFF, 0xDD));
    cxGrid2DBTableView1->setContextMenuPolicy(Qt::NoContextMenu);

    const auto column = [](const QString &name, const QString &caption, Qt::Alignment alignment) {
        GridColumn result;
        result.name = name;
        result.caption = caption;
        result.width = 100; // equal shares of the grid's width
        result.headerFont = calibri(16);
        result.cellFont = calibri(16);
        result.cellAlignment = alignment;
        return result;
    };
    const Qt::Alignment leading = Qt::AlignLeading | Qt::AlignVCenter;
    cxGrid2DBTableView1->setColumns(
        { column(QStringLiteral("cxGrid2DBTableView1NUM_VENTE"), QStringLiteral("N° Vente "),
                 Qt::AlignCenter),
          column(QStringLiteral("cxGrid2DBTableView1DATE_VENTE"), QStringLiteral("Date Vente"), leading),
          column(QStringLiteral("cxGrid2DBTableView1TIME_VENTE"), QStringLiteral("Heure"), leading),
          column(QStringLiteral("cxGrid2DBTableView1NUMERO_TABLE"), QStringLiteral("N° table"),
                 Qt::AlignCenter) });
    cxGrid2DBTableView1->setModel(dListe_Commande->model());
    dListe_Commande->setSelectionModel(cxGrid2DBTableView1->selectionModel());

    m_footer = new QWidget(this);
    m_footer->setObjectName(QStringLiteral("footer"));
    m_footer->setFixedHeight(footerHeight);
    m_footer->setAutoFillBackground(true);
    QPalette palette = m_footer->palette();
    palette.setColor(QPalette::Window, QColor(0xF0, 0xF0, 0xF0));
    m_footer->setPalette(palette);
    m_footerCount = new QLabel(QStringLiteral("0"), m_footer);
    m_footerCount->setObjectName(QStringLiteral("footerCount"));
    m_footerCount->setFont(calibri(16));
    m_footerCount->setAlignment(Qt::AlignCenter);

    // The count counts lines (one per row), not orders.
    connect(dListe_Commande->model(), &QAbstractItemModel::modelReset, this,
            [this] { m_footerCount->setText(QString::number(dListe_Commande->model()->rowCount())); });
    connect(cxGrid2DBTableView1->horizontalHeader(), &QHeaderView::sectionResized, this,
            &TF_liste_commande::placeFooterCount);
    cxGrid2DBTableView1->viewport()->installEventFilter(this);
    m_footer->installEventFilter(this);
}

void TF_liste_commande::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
    placeFooterCount();
}

bool TF_liste_commande::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == cxGrid2DBTableView1->viewport() || watched == m_footer)
        && (event->type() == QEvent::Resize || event->type() == QEvent::Move
            || event->type() == QEvent::LayoutDirectionChange))
        placeFooterCount();
    return QDialog::eventFilter(watched, event);
}

void TF_liste_commande::placeFooterCount()
{
    const int column = cxGrid2DBTableView1NUM_VENTE;
    const QPoint inDialog = cxGrid2DBTableView1->viewport()->mapTo(
        this, QPoint(cxGrid2DBTableView1->columnViewportPosition(column), 0));
    const QPoint at = m_footer->mapFrom(this, inDialog);
    m_footerCount->setGeometry(at.x(), 0, cxGrid2DBTableView1->columnWidth(column), m_footer->height());
}

void TF_liste_commande::FormShow()
{
    // The editor was empty, so the date changes and the list is read for it.
    cxDateEdit2->setDate(QDate::currentDate());
}

void TF_liste_commande::reloadDialogDate()
{
    const QDate date = cxDateEdit2->date();
    Liste_Commande.close();
    Liste_Commande.setParam(0, date);
    if (!date.isValid()) {
        // no date (Clear): an empty list, without asking the database
        dListe_Commande->queryChanged();
        return;
    }
    dListe_Commande->open();
}

QString TF_liste_commande::unreachableText()
{
    return QStringLiteral("La base de données est injoignable : la liste n'est plus actualisée, "
                          "reconnexion automatique en cours.");
}

void TF_liste_commande::setDatabaseReachable(bool reachable)
{
    if (reachable == m_reachable)
        return;
    m_reachable = reachable;
    m_unreachable->setVisible(!reachable);
    // Back: the list is read afresh, for what changed meanwhile.
    if (reachable && m_shown)
        ErrorBox::guard([this] { reloadDialogDate(); }, this);
}

void TF_liste_commande::cxButton2Click()
{
    // An empty list names no order: there is nothing to withdraw.
    if (!Liste_Commande.isOpen() || dListe_Commande->currentRow() < 0)
        return;
    if (!m_reachable)
        throw StationError(QStringLiteral("La base de données est injoignable : la commande n'a pas été dévalidée."));
    Update_commande.setParam(0, Liste_Commande.field(QStringLiteral("NUM_VENTE")));
    Update_commande.setParam(1, cxDateEdit2->date());
    Update_commande.execute();

    dListe_Commande->open();
    if (m_categor)
        m_categor();
}

void TF_liste_commande::cxButton1Click()
{
    close();
}
