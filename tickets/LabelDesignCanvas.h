#pragma once

#include "tickets/LabelDesignDocument.h"

#include <QWidget>

/// The designer's drawing of one page of a layout: its bands, one under the
/// other, and their objects, which the cook selects, moves and resizes with
/// the mouse or the arrow keys (Shift + arrow resizes, Delete removes).
class LabelDesignCanvas : public QWidget
{
    Q_OBJECT

public:
    explicit LabelDesignCanvas(LabelDesignDocument *document, QWidget *parent = nullptr);

    /// Screen pixels per pixel of the layout.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    int pageIndex() const { return m_page; }
    void setPageIndex(int page);

    const QList<LabelElementRef> &selection() const { return m_selection; }
    void setSelection(const QList<LabelElementRef> &selection);
    /// The band new objects go to: the one last clicked, or the band of the selection; -1 when the page has
    /// none.
    int currentBand() const;

    /// Where an object or band is drawn, in widget coordinates.
    QRectF widgetRect(const LabelElementRef &ref) const;

    QSize sizeHint() const override;

signals:
    void selectionChanged();
    /// A double click on a text object.
    void editTextRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Handle { NoHandle = -1, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

    void documentChanged();
    /// The band's top on the page, in layout pixels from the paper's corner.
    double bandTop(int band) const;
    QPointF bandOrigin(int band) const;
    /// Page pixels to widget coordinates and back.
    QPointF toWidget(const QPointF &pagePoint) const;
    QPointF toPage(const QPointF &widgetPoint) const;
    QRectF pageRect(const LabelElementRef &ref) const;
    LabelElementRef objectAt(const QPointF &widgetPoint) const;
    int bandAt(const QPointF &widgetPoint) const;
    QList<QRectF> handleRects(const QRectF &rect) const;
    Handle handleAt(const QPointF &widgetPoint) const;
    double designHeight() const;

    LabelDesignDocument *m_document;
    int m_page = 0;
    double m_zoom = 4;
    QList<LabelElementRef> m_selection;
    int m_currentBand = -1;

    // A drag in progress.
    enum class Drag { None, Move, Resize };
    Drag m_drag = Drag::None;
    Handle m_handle = NoHandle;
    QPointF m_pressPoint;
    QList<QRectF> m_startGeometries;
    int m_dragKey = 0;
    int m_nextDragKey = 100;
};
