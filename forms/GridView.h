#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QTableView>

/// The look of one column of a GridView: header and cells.
struct GridColumn
{
    QString name; ///< component name of the column
    QString caption; ///< header text
    QPixmap headerGlyph; ///< drawn centred in the header, in place of a caption
    int width = 64;
    bool visible = true;
    /// The user may not make it narrower than its width; wider only when the
    /// view fits the columns to its width.
    bool fixed = false;
    QFont headerFont;
    QColor headerText;
    QColor headerBackground;
    QFont cellFont;
    QColor cellText;
    QColor cellBackground; ///< invalid: the view's background
    Qt::Alignment cellAlignment = Qt::AlignCenter;
};

/// A read-only table of whole-row selection whose columns, header and cells
/// take their looks from a list of GridColumn, in model column order. The
/// user can neither sort, move nor size columns. Columns are fitted to the
/// view's width but never made narrower than their width. A view without rows
/// shows a fixed text.
class GridView : public QTableView
{
    Q_OBJECT

public:
    explicit GridView(QWidget *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    const GridColumn &column(int index) const { return m_columns.at(index); }

    void setEmptyText(const QString &text);
    const QString &emptyText() const { return m_emptyText; }

    void setSelectedRowFont(const QFont &font);
    const QFont &selectedRowFont() const { return m_selectedRowFont; }
    void setSelectedRowColors(const QColor &text, const QColor &background);

    void setHeaderHeight(int height);
    void setRowHeight(int height);
    /// Width of the row indicator at the left of each row (it marks the current row).
    void setIndicatorWidth(int width);

    void setModel(QAbstractItemModel *model) override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Header;
    class Indicator;
    class Delegate;

    void applyColumns();
    void fitColumns();

    QList<GridColumn> m_columns;
    QString m_emptyText;
    QFont m_selectedRowFont;
    QColor m_selectedText;
    QColor m_selectedBackground;
};
