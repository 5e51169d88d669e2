#pragma once

#include "forms/TileLayout.h"

#include <QColor>
#include <QWidget>

class PendingTileModel;
class QToolButton;

/// The tile board: paints the tiles of a PendingTileModel (or its placeholder
/// tile) on a white ground, scrolls vertically by two scroll buttons (and the
/// mouse wheel), and reports a click on a tile. The tiles are painted, not
/// widgets: a rebuild creates no widget, and an unchanged model paints nothing.
class TileBoard : public QWidget
{
    Q_OBJECT

public:
    explicit TileBoard(QWidget *parent = nullptr);

    void setModel(PendingTileModel *model);
    PendingTileModel *model() const { return m_model; }

    const TileLayout &tileLayout() const { return m_layout; }

    /// The tile's place on the widget, scrolling included.
    QRect tileRect(int row) const;
    /// Row of the tile under a point of the widget, -1 when none.
    int tileAt(QPoint point) const;

    int scrollOffset() const { return m_scroll; }
    int maximumScroll() const;
    void setScrollOffset(int offset);
    /// Scrolls by one row of tiles up (-1) or down (+1).
    void scrollRows(int rows);

    QToolButton *scrollUpButton() const { return m_scrollUp; }
    QToolButton *scrollDownButton() const { return m_scrollDown; }

    /// Greyed: the tiles are the last ones read and may be out of date (the
    /// database cannot be reached). They still take touches.
    void setStale(bool stale);
    bool isStale() const { return m_stale; }
    /// The veil painted over the board while it is stale.
    static QColor staleVeil() { return { 128, 128, 128, 170 }; }

    /// The placeholder tile's look.
    static QColor placeholderColor() { return { 234, 234, 234 }; }

signals:
    /// A tile was clicked (pressed and released on the same tile).
    void tileClicked(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void modelReset();
    void placeScrollButtons();
    void paintTile(QPainter &painter, const QRect &rect, int row) const;
    void paintPlaceholder(QPainter &painter, const QRect &rect) const;

    PendingTileModel *m_model = nullptr;
    bool m_stale = false;
    TileLayout m_layout;
    int m_scroll = 0;
    int m_pressedRow = -1;
    QToolButton *m_scrollUp = nullptr;
    QToolButton *m_scrollDown = nullptr;
};
