#include "forms/GridView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

class GridView::Header : public QHeaderView
{
public:
    explicit Header(GridView *view)
        : QHeaderView(Qt::Horizontal, view)
        , m_view(view)
    {
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        if (logicalIndex < 0 || logicalIndex >= m_view->columns().size()) {
            QHeaderView::paintSection(painter, rect, logicalIndex);
            return;
        }
        const GridColumn &column = m_view->column(logicalIndex);
        painter->save();
        painter->fillRect(rect,
                          column.headerBackground.isValid() ? column.headerBackground
                                                            : palette().color(QPalette::Button));
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        if (!column.headerGlyph.isNull()) {
            const QSize size = column.headerGlyph.deviceIndependentSize().toSize();
            const QRect at(rect.left() + (rect.width() - size.width()) / 2,
                           rect.top() + (rect.height() - size.height()) / 2, size.width(), size.height());
            painter->drawPixmap(at, column.headerGlyph);
        } else {
            painter->setFont(column.headerFont);
            painter->setPen(column.headerText.isValid() ? column.headerText
                                                        : palette().color(QPalette::WindowText));
            const QString text = QFontMetrics(column.headerFont)
                                     .elidedText(column.caption, Qt::ElideRight, rect.width() - 4);
            painter->drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter, text);
        }
        painter->restore();
    }

private:
    GridView *m_view;
};

class GridView::Indicator : public QHeaderView
{
public:
    explicit Indicator(GridView *view)
        : QHeaderView(Qt::Vertical, view)
        , m_view(view)
    {
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        painter->save();
        painter->fillRect(rect, palette().color(QPalette::Button));
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        if (m_view->currentIndex().isValid() && m_view->currentIndex().row() == logicalIndex) {
            const QPointF centre = QRectF(rect).center();
            const QPointF arrow[]
                = { centre + QPointF(-2, -4), centre + QPointF(-2, 4), centre + QPointF(2.5, 0) };
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(Qt::NoPen);
            painter->setBrush(palette().color(QPalette::WindowText));
            painter->drawPolygon(arrow, 3);
        }
        painter->restore();
    }

private:
    GridView *m_view;
};

class GridView::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(GridView *view)
        : QStyledItemDelegate(view)
        , m_view(view)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideRight;
        if (index.column() >= m_view->columns().size())
            return;
        const GridColumn &column = m_view->column(index.column());
        option->displayAlignment = column.cellAlignment;
        option->font = column.cellFont;
        if (column.cellText.isValid())
            option->palette.setColor(QPalette::Text, column.cellText);
        if (column.cellBackground.isValid())
            option->backgroundBrush = column.cellBackground;
        if (option->state & QStyle::State_Selected) {
            option->font = m_view->selectedRowFont();
            option->palette.setColor(QPalette::HighlightedText, m_view->m_selectedText);
            option->palette.setColor(QPalette::Highlight, m_view->m_selectedBackground);
        }
    }

private:
    GridView *m_view;
};

GridView::GridView(QWidget *parent)
    : QTableView(parent)
    , m_selectedText(palette().color(QPalette::WindowText))
    , m_selectedBackground(Qt::white)
{
    setHorizontalHeader(new Header(this));
    setVerticalHeader(new Indicator(this));
    setItemDelegate(new Delegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Columns are fitted to the view, never scrolled sideways: what does not fit is cut at the right.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView *header = horizontalHeader();
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);

    // The row indicator: a narrow strip without numbers at the left of each row.
    QHeaderView *indicator = verticalHeader();
    indicator->setSectionsClickable(false);
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setHighlightSections(false);
}

void GridView::setColumns(const QList<GridColumn> &columns)
{
    m_columns = columns;
    applyColumns();
}

void GridView::setEmptyText(const QString &text)
{
    m_emptyText = text;
    viewport()->update();
}

void GridView::setSelectedRowFont(const QFont &font)
{
    m_selectedRowFont = font;
    viewport()->update();
}

void GridView::setSelectedRowColors(const QColor &text, const QColor &background)
{
    m_selectedText = text;
    m_selectedBackground = background;
    viewport()->update();
}

void GridView::setHeaderHeight(int height)
{
    horizontalHeader()->setFixedHeight(height);
}

void GridView::setRowHeight(int height)
{
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

void GridView::setIndicatorWidth(int width)
{
    verticalHeader()->setFixedWidth(width);
}

void GridView::setModel(QAbstractItemModel *model)
{
    if (this->model())
        disconnect(this->model(), nullptr, this, nullptr);
    QTableView::setModel(model);
    if (model) {
        // The empty text comes and goes with the rows.
        const auto repaint = [this] { viewport()->update(); };
        connect(model, &QAbstractItemModel::modelReset, this, repaint);
        connect(model, &QAbstractItemModel::rowsInserted, this, repaint);
        connect(model, &QAbstractItemModel::rowsRemoved, this, repaint);
        connect(model, &QAbstractItemModel::columnsInserted, this, &GridView::applyColumns);
    }
    if (selectionModel()) {
        // The indicator follows the current row.
        connect(selectionModel(), &QItemSelectionModel::currentRowChanged, verticalHeader()->viewport(),
                qOverload<>(&QWidget::update));
    }
    applyColumns();
}

void GridView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_emptyText.isEmpty() || (model() && model()->rowCount() > 0))
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(viewport()->rect().adjusted(4, 8, -4, 0),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_emptyText);
}

void GridView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void GridView::applyColumns()
{
    if (!model())
        return;
    for (int i = 0; i < m_columns.size() && i < model()->columnCount(); ++i)
        setColumnHidden(i, !m_columns.at(i).visible);
    fitColumns();
}

void GridView::fitColumns()
{
    if (!model())
        return;
    int total = 0;
    for (int i = 0; i < m_columns.size() && i < model()->columnCount(); ++i) {
        if (m_columns.at(i).visible)
            total += m_columns.at(i).width;
    }
    const int available = viewport()->width();
    int given = 0;
    int last = -1;
    for (int i = 0; i < m_columns.size() && i < model()->columnCount(); ++i) {
        if (!m_columns.at(i).visible)
            continue;
        const int width = m_columns.at(i).width;
        // Wider columns share out the spare width; none goes below its own width.
        const int fitted = total > 0 && available > total ? width * available / total : width;
        setColumnWidth(i, fitted);
        given += fitted;
        last = i;
    }
    if (last >= 0 && total > 0 && available > total)
        setColumnWidth(last, columnWidth(last) + available - given);
}
