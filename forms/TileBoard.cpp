#include "forms/TileBoard.h"

#include "forms/PendingTileModel.h"
#include "forms/StationLook.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolButton>
#include <QWheelEvent>

namespace {
constexpr int textMargin = 8;
constexpr int scrollButtonWidth = 32;
constexpr int scrollButtonHeight = 56;

QFont pointFont(const QFont &base, int points, bool bold)
{
    QFont font(base);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

/// Draws text centred in rect on at most maxLines lines, the last one elided.
void drawWrapped(QPainter &painter, const QRect &rect, const QString &text, int maxLines,
                 Qt::Alignment vertical)
{
    const QFontMetrics metrics(painter.font());
    QStringList lines;
    QTextLayout layout(text, painter.font());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        if (lines.size() == maxLines - 1) {
            lines.append(
                metrics.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight, rect.width()));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();

    if (lines.isEmpty())
        return;
    // Faces made for Arabic have tall lines; the lines close up to stay inside the tile.
    const int lineHeight = qMin(metrics.height(), rect.height() / int(lines.size()));
    const int height = int(lines.size()) * lineHeight;
    int y = rect.top();
    if (vertical & Qt::AlignVCenter)
        y += (rect.height() - height) / 2;
    for (const QString &line : std::as_const(lines)) {
        painter.drawText(QRect(rect.left(), y, rect.width(), lineHeight), Qt::AlignHCenter | Qt::AlignVCenter,
                         line);
        y += lineHeight;
    }
}
} // namespace

TileBoard::TileBoard(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    const auto makeButton = [this](Qt::ArrowType arrow, const QString &name, int rows) {
        auto *button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        button->setAutoRaise(false);
        button->hide();
        connect(button, &QToolButton::clicked, this, [this, rows] { scrollRows(rows); });
        return button;
    };
    m_scrollUp = makeButton(Qt::UpArrow, QStringLiteral("scrollUp"), -1);
    m_scrollDown = makeButton(Qt::DownArrow, QStringLiteral("scrollDown"), +1);
}

void TileBoard::setModel(PendingTileModel *model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (m_model) {
        connect(m_model, &QAbstractItemModel::modelReset, this, &TileBoard::modelReset);
        connect(m_model, &QObject::destroyed, this, [this] {
            m_model = nullptr;
            update();
        });
    }
    modelReset();
}

QRect TileBoard::tileRect(int row) const
{
    return m_layout.tileRect(row, width()).translated(0, -m_scroll);
}

int TileBoard::tileAt(QPoint point) const
{
    if (!m_model || m_model->placeholderShown())
        return -1;
    return m_layout.indexAt(point + QPoint(0, m_scroll), m_model->rowCount(), width());
}

int TileBoard::maximumScroll() const
{
    const int count = m_model && !m_model->placeholderShown() ? m_model->rowCount() : 1;
    return qMax(0, m_layout.contentHeight(count, width()) - height());
}

void TileBoard::setScrollOffset(int offset)
{
    offset = qBound(0, offset, maximumScroll());
    if (offset != m_scroll) {
        m_scroll = offset;
        update();
    }
    placeScrollButtons();
}

void TileBoard::scrollRows(int rows)
{
    setScrollOffset(m_scroll + rows * (m_layout.tileHeight + m_layout.gap));
}

void TileBoard::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (!m_model)
        return;
    if (m_model->placeholderShown()) {
        paintPlaceholder(painter, tileRect(0));
    } else {
        const int count = m_model->rowCount();
        for (int row = 0; row < count; ++row) {
            const QRect rect = tileRect(row);
            if (rect.intersects(event->rect()))
                paintTile(painter, rect, row);
        }
    }
    if (m_stale)
        painter.fillRect(event->rect(), staleVeil());
}

void TileBoard::setStale(bool stale)
{
    if (m_stale == stale)
        return;
    m_stale = stale;
    update();
}

void TileBoard::paintTile(QPainter &painter, const QRect &rect, int row) const
{
    const PendingTile &tile = m_model->tile(row);
    painter.fillRect(rect, QColor(tile.colour));
    const QRect inner = rect.adjusted(textMargin, 0, -textMargin, 0);

    painter.setPen(Qt::black);
    const QFont numberFont = pointFont(font(), 24, true);
    painter.setFont(numberFont);
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, tile.number);
    const int numberWidth = QFontMetrics(numberFont).horizontalAdvance(tile.number);

    const QFont quantityFont = pointFont(font(), 14, true);
    painter.setFont(quantityFont);
    painter.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, tile.quantity);
    const int quantityWidth = QFontMetrics(quantityFont).horizontalAdvance(tile.quantity);

    // The article stays centred on the tile, clear of the number and the quantity.
    const int side = textMargin + qMax(numberWidth, quantityWidth) + 6;
    painter.setFont(quantityFont);
    drawWrapped(painter, rect.adjusted(side, 2, -side, -2), tile.article, 2, Qt::AlignVCenter);

    painter.setFont(pointFont(font(), 8, false));
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(0, 0, -4, -1), Qt::AlignRight | Qt::AlignBottom, tile.key);
}

void TileBoard::paintPlaceholder(QPainter &painter, const QRect &rect) const
{
    painter.fillRect(rect, placeholderColor());
    const QRect inner = rect.adjusted(textMargin, 0, -textMargin, 0);
    painter.setPen(Qt::black);
    painter.setFont(StationLook::calibri(21));
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("N°"));
    painter.drawText(inner, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("TABLE"));
    painter.setFont(StationLook::calibri(19));
    drawWrapped(painter, inner.adjusted(0, 2, 0, 0), QStringLiteral("ARTICLE"), 2, Qt::AlignVCenter);
    painter.setFont(StationLook::calibri(21));
    painter.setPen(Qt::white);
    painter.drawText(rect.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignBottom, QStringLiteral("cle"));
}

void TileBoard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setScrollOffset(m_scroll);
}

void TileBoard::mousePressEvent(QMouseEvent *event)
{
    m_pressedRow = event->button() == Qt::LeftButton ? tileAt(event->position().toPoint()) : -1;
    event->accept();
}

void TileBoard::mouseReleaseEvent(QMouseEvent *event)
{
    const int row = event->button() == Qt::LeftButton ? tileAt(event->position().toPoint()) : -1;
    const int pressed = std::exchange(m_pressedRow, -1);
    if (row >= 0 && row == pressed)
        emit tileClicked(row);
    event->accept();
}

void TileBoard::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        scrollRows(-steps);
    event->accept();
}

void TileBoard::modelReset()
{
    m_pressedRow = -1;
    // The scroll position survives a rebuild as far as the new tiles reach.
    setScrollOffset(m_scroll);
    update();
}

void TileBoard::placeScrollButtons()
{
    const int left = width() - scrollButtonWidth;
    m_scrollUp->setGeometry(left, 0, scrollButtonWidth, scrollButtonHeight);
    m_scrollDown->setGeometry(left, height() - scrollButtonHeight, scrollButtonWidth, scrollButtonHeight);
    m_scrollUp->setVisible(m_scroll > 0);
    m_scrollDown->setVisible(m_scroll < maximumScroll());
}
