#include "tickets/LabelDesignCanvas.h"

#include "tickets/LabelRenderer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Room left of the page for the bands' names, and around it.
constexpr double gutter = 110;
constexpr double border = 16;
constexpr double handleSize = 7;
const QColor selectionColor(0x1E, 0x6F, 0xD9);
} // namespace

LabelDesignCanvas::LabelDesignCanvas(LabelDesignDocument *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(document, &LabelDesignDocument::changed, this, &LabelDesignCanvas::documentChanged);
    // A page the size of a label is drawn large, an A4 page fits a screen.
    const double width = m_document->page(0).paperSize().width() * LabelRenderer::pixelsPerMm;
    m_zoom = qBound(1.0, 640.0 / width, 5.0);
}

void LabelDesignCanvas::setZoom(double zoom)
{
    m_zoom = qBound(0.25, zoom, 16.0);
    updateGeometry();
    resize(sizeHint());
    update();
}

void LabelDesignCanvas::setPageIndex(int page)
{
    m_page = qBound(0, page, int(m_document->report().pages().size()) - 1);
    m_currentBand = -1;
    setSelection({});
    updateGeometry();
    resize(sizeHint());
    update();
}

void LabelDesignCanvas::setSelection(const QList<LabelElementRef> &selection)
{
    QList<LabelElementRef> valid;
    for (const LabelElementRef &ref : selection) {
        if (ref.isObject() && ref.page == m_page && m_document->isValid(ref) && !valid.contains(ref))
            valid.append(ref);
    }
    if (valid == m_selection)
        return;
    m_selection = valid;
    if (!m_selection.isEmpty())
        m_currentBand = m_selection.first().band;
    update();
    emit selectionChanged();
}

int LabelDesignCanvas::currentBand() const
{
    const int bands = int(m_document->page(m_page).bands().size());
    if (m_currentBand >= 0 && m_currentBand < bands)
        return m_currentBand;
    return bands > 0 ? 0 : -1;
}

void LabelDesignCanvas::documentChanged()
{
    // Undo and redo may take away what was selected.
    setSelection(m_selection);
    updateGeometry();
    resize(sizeHint());
    update();
}

double LabelDesignCanvas::bandTop(int band) const
{
    const LabelPage &page = m_document->page(m_page);
    double top = page.margins().top() * LabelRenderer::pixelsPerMm;
    for (int i = 0; i < band; ++i)
        top += page.bands().at(i).height();
    return top;
}

QPointF LabelDesignCanvas::bandOrigin(int band) const
{
    return QPointF(m_document->page(m_page).margins().left() * LabelRenderer::pixelsPerMm, bandTop(band));
}

double LabelDesignCanvas::designHeight() const
{
    // The page grows in the designer when its bands are higher than its paper.
    const LabelPage &page = m_document->page(m_page);
    const double bands
        = bandTop(int(page.bands().size())) + page.margins().bottom() * LabelRenderer::pixelsPerMm;
    return qMax(page.paperSize().height() * LabelRenderer::pixelsPerMm, bands);
}

QPointF LabelDesignCanvas::toWidget(const QPointF &pagePoint) const
{
    return QPointF(gutter, border) + pagePoint * m_zoom;
}

QPointF LabelDesignCanvas::toPage(const QPointF &widgetPoint) const
{
    return (widgetPoint - QPointF(gutter, border)) / m_zoom;
}

QRectF LabelDesignCanvas::pageRect(const LabelElementRef &ref) const
{
    if (ref.isObject())
        return m_document->object(ref).geometry().translated(bandOrigin(ref.band));
    const LabelPage &page = m_document->page(m_page);
    const double width = (page.paperSize().width() - page.margins().left() - page.margins().right())
        * LabelRenderer::pixelsPerMm;
    return QRectF(bandOrigin(ref.band), QSizeF(width, m_document->band(ref).height()));
}

QRectF LabelDesignCanvas::widgetRect(const LabelElementRef &ref) const
{
    const QRectF rect = pageRect(ref).normalized();
    return QRectF(toWidget(rect.topLeft()), toWidget(rect.bottomRight()));
}

QSize LabelDesignCanvas::sizeHint() const
{
    const LabelPage &page = m_document->page(m_page);
    return QSize(int(gutter + page.paperSize().width() * LabelRenderer::pixelsPerMm * m_zoom + border),
                 int(2 * border + designHeight() * m_zoom));
}

LabelElementRef LabelDesignCanvas::objectAt(const QPointF &widgetPoint) const
{
    const QList<LabelElementRef> objects = m_document->objects(m_page);
    // The last drawn is on top.
    for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
        if (widgetRect(*it).adjusted(-2, -2, 2, 2).contains(widgetPoint))
            return *it;
    }
    return { m_page, -1, -1 };
}

int LabelDesignCanvas::bandAt(const QPointF &widgetPoint) const
{
    const double y = toPage(widgetPoint).y();
    const LabelPage &page = m_document->page(m_page);
    for (int i = 0; i < page.bands().size(); ++i) {
        if (y >= bandTop(i) && y < bandTop(i + 1))
            return i;
    }
    return -1;
}

QList<QRectF> LabelDesignCanvas::handleRects(const QRectF &r) const
{
    const QPointF points[] = { r.topLeft(),     QPointF(r.center().x(), r.top()),
                               r.topRight(),    QPointF(r.right(), r.center().y()),
                               r.bottomRight(), QPointF(r.center().x(), r.bottom()),
                               r.bottomLeft(),  QPointF(r.left(), r.center().y()) };
    QList<QRectF> rects;
    for (const QPointF &p : points)
        rects.append(QRectF(p - QPointF(handleSize / 2, handleSize / 2), QSizeF(handleSize, handleSize)));
    return rects;
}

LabelDesignCanvas::Handle LabelDesignCanvas::handleAt(const QPointF &widgetPoint) const
{
    if (m_selection.size() != 1)
        return NoHandle;
    const QList<QRectF> handles = handleRects(widgetRect(m_selection.first()));
    for (int i = 0; i < handles.size(); ++i) {
        if (handles.at(i).adjusted(-2, -2, 2, 2).contains(widgetPoint))
            return Handle(i);
    }
    return NoHandle;
}

void LabelDesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const LabelPage &page = m_document->page(m_page);
    const QSizeF paper = page.paperSize() * LabelRenderer::pixelsPerMm;

    painter.fillRect(QRectF(toWidget(QPointF(0, 0)), toWidget(QPointF(paper.width(), designHeight()))),
                     Qt::white);
    // The paper's real end, when the bands run past it.
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (designHeight() > paper.height() + 0.5) {
        painter.setPen(QPen(Qt::red, 1, Qt::DashLine));
        painter.drawLine(toWidget(QPointF(0, paper.height())),
                         toWidget(QPointF(paper.width(), paper.height())));
    }
    const QMarginsF margins = page.margins() * LabelRenderer::pixelsPerMm;
    painter.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), 1, Qt::DotLine));
    painter.drawRect(
        QRectF(toWidget(QPointF(margins.left(), margins.top())),
               toWidget(QPointF(paper.width() - margins.right(), paper.height() - margins.bottom()))));

    // Bands: an outline and their name in the room at the left.
    for (int b = 0; b < page.bands().size(); ++b) {
        const QRectF band = widgetRect({ m_page, b, -1 });
        painter.setPen(QPen(b == currentBand() ? selectionColor : QColor(0x90, 0xA8, 0xC8), 1, Qt::DashLine));
        painter.drawRect(band);
        painter.setPen(palette().color(QPalette::BrightText));
        painter.drawText(QRectF(4, band.top(), gutter - 10, qMax(band.height(), 16.0)),
                         Qt::AlignLeft | Qt::AlignTop, page.bands().at(b).name());
    }

    // Objects, as they print, but with their texts as written.
    for (const LabelElementRef &ref : m_document->objects(m_page)) {
        const LabelObject &object = m_document->object(ref);
        painter.save();
        painter.translate(toWidget(bandOrigin(ref.band)));
        painter.scale(m_zoom, m_zoom);
        painter.setRenderHint(QPainter::Antialiasing);
        const QString text = object.dataField().isEmpty()
            ? object.text()
            : u'[' + object.dataSetName() + u".\"" + object.dataField() + u"\"]";
        LabelRenderer::paintObject(painter, object, object.font(m_document->band(ref).attributes()), text);
        painter.restore();
        if (object.frame().sides != LabelFrame::All) {
            painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(widgetRect(ref));
        }
    }

    for (const LabelElementRef &ref : m_selection) {
        const QRectF rect = widgetRect(ref);
        painter.setPen(QPen(selectionColor, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
        if (m_selection.size() == 1) {
            painter.setBrush(selectionColor);
            for (const QRectF &handle : handleRects(rect))
                painter.drawRect(handle);
        }
    }
}

void LabelDesignCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    m_pressPoint = event->position();
    m_drag = Drag::None;
    m_handle = handleAt(m_pressPoint);
    if (m_handle != NoHandle) {
        m_drag = Drag::Resize;
    } else {
        const LabelElementRef hit = objectAt(m_pressPoint);
        if (hit.isObject()) {
            QList<LabelElementRef> selection = m_selection;
            if (event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)) {
                if (!selection.removeOne(hit))
                    selection.append(hit);
            } else if (!selection.contains(hit)) {
                selection = { hit };
            }
            setSelection(selection);
            m_drag = m_selection.contains(hit) ? Drag::Move : Drag::None;
        } else {
            m_currentBand = bandAt(m_pressPoint);
            setSelection({});
            update();
        }
    }
    m_startGeometries.clear();
    for (const LabelElementRef &ref : std::as_const(m_selection))
        m_startGeometries.append(m_document->object(ref).geometry());
    m_dragKey = m_nextDragKey++;
}

void LabelDesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None || !(event->buttons() & Qt::LeftButton)) {
        const Handle handle = handleAt(event->position());
        static const Qt::CursorShape shapes[]
            = { Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
                Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor };
        setCursor(handle == NoHandle
                      ? (objectAt(event->position()).isObject() ? Qt::SizeAllCursor : Qt::ArrowCursor)
                      : shapes[handle]);
        return;
    }
    const QPointF delta = (event->position() - m_pressPoint) / m_zoom;
    QList<QRectF> geometries;
    if (m_drag == Drag::Move) {
        for (const QRectF &start : std::as_const(m_startGeometries))
            geometries.append(start.translated(delta));
    } else {
        QRectF r = m_startGeometries.first();
        if (m_handle == TopLeft || m_handle == Left || m_handle == BottomLeft)
            r.setLeft(qMin(r.left() + delta.x(), r.right() - 1));
        if (m_handle == TopRight || m_handle == Right || m_handle == BottomRight)
            r.setRight(qMax(r.right() + delta.x(), r.left() + 1));
        if (m_handle == TopLeft || m_handle == Top || m_handle == TopRight)
            r.setTop(qMin(r.top() + delta.y(), r.bottom() - 1));
        if (m_handle == BottomLeft || m_handle == Bottom || m_handle == BottomRight)
            r.setBottom(qMax(r.bottom() + delta.y(), r.top() + 1));
        geometries.append(r);
    }
    // One drag, one step of the undo stack.
    m_document->setGeometry(m_selection, geometries, m_dragKey);
}

void LabelDesignCanvas::mouseReleaseEvent(QMouseEvent *)
{
    m_drag = Drag::None;
}

void LabelDesignCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    const LabelElementRef hit = objectAt(event->position());
    if (hit.isObject() && m_document->object(hit).kind() == LabelObject::Kind::Memo) {
        setSelection({ hit });
        emit editTextRequested();
    }
}

void LabelDesignCanvas::keyPressEvent(QKeyEvent *event)
{
    if (m_selection.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        const QList<LabelElementRef> doomed = m_selection;
        setSelection({});
        m_document->deleteObjects(doomed);
        return;
    }
    QPointF step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = QPointF(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPointF(1, 0);
        break;
    case Qt::Key_Up:
        step = QPointF(0, -1);
        break;
    case Qt::Key_Down:
        step = QPointF(0, 1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    // A pixel of the layout a press; Ctrl for a tenth of one; Shift resizes.
    if (event->modifiers() & Qt::ControlModifier)
        step /= 10;
    QList<QRectF> geometries;
    for (const LabelElementRef &ref : std::as_const(m_selection)) {
        QRectF r = m_document->object(ref).geometry();
        if (event->modifiers() & Qt::ShiftModifier)
            r.setSize(QSizeF(qMax(1.0, r.width() + step.x()), qMax(1.0, r.height() + step.y())));
        else
            r.translate(step);
        geometries.append(r);
    }
    m_document->setGeometry(m_selection, geometries);
}
