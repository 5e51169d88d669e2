#include "forms/StationButton.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>

namespace {
constexpr int arrowWidth = 12;
}

StationButton::StationButton(QWidget *parent)
    : QAbstractButton(parent)
    , m_faceColor(palette().color(QPalette::Button))
    , m_textColor(palette().color(QPalette::ButtonText))
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    connect(this, &QAbstractButton::pressed, this, [this] {
        if (m_dropDownMenu)
            showDropDown();
    });
}

void StationButton::setFace(Face face)
{
    m_face = face;
    update();
}

void StationButton::setFaceColor(const QColor &color)
{
    m_faceColor = color;
    update();
}

void StationButton::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void StationButton::setGlyph(const QPixmap &glyph, GlyphPosition position)
{
    m_glyph = glyph;
    m_glyphPosition = glyph.isNull() ? GlyphPosition::None : position;
    update();
}

void StationButton::setGlyphSpacing(int spacing)
{
    m_glyphSpacing = spacing;
    update();
}

void StationButton::setDropDownMenu(QMenu *menu)
{
    m_dropDownMenu = menu;
    update();
}

void StationButton::setPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
}

QStringList StationButton::captionLines() const
{
    if (text().isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    return text().split(lineBreak);
}

QSize StationButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int textWidth = 0;
    const QStringList lines = captionLines();
    for (const QString &line : lines)
        textWidth = qMax(textWidth, metrics.horizontalAdvance(line));
    const int textHeight = int(lines.size()) * metrics.height();
    const QSize glyph = m_glyph.isNull() ? QSize() : m_glyph.deviceIndependentSize().toSize();
    switch (m_glyphPosition) {
    case GlyphPosition::Top:
        return { qMax(textWidth, glyph.width()) + 12, glyph.height() + m_glyphSpacing + textHeight + 12 };
    case GlyphPosition::Left:
        return { glyph.width() + m_glyphSpacing + textWidth + 12, qMax(glyph.height(), textHeight) + 12 };
    case GlyphPosition::None:
        break;
    }
    return { textWidth + 12, textHeight + 12 };
}

void StationButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect area = rect();

    if (m_face != Face::Transparent) {
        QColor face = m_faceColor;
        if (isDown())
            face = face.darker(120);
        else if (m_hovered && isEnabled())
            face = face.lighter(115);
        painter.fillRect(area, face);
        if (m_face == Face::UltraFlat) {
            painter.setPen(face.lighter(160));
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }
    } else if (isDown()) {
        painter.fillRect(area, QColor(0, 0, 0, 40));
    }

    if (m_dropDownMenu) {
        // The arrow stands in a strip of its own at the right.
        const QRect strip(area.right() - arrowWidth + 1, area.top(), arrowWidth, area.height());
        const QPointF centre = QRectF(strip).center();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_textColor);
        const QPointF arrow[] = { centre + QPointF(-4, -2), centre + QPointF(4, -2), centre + QPointF(0, 3) };
        painter.drawPolygon(arrow, 3);
        painter.setRenderHint(QPainter::Antialiasing, false);
        area.setRight(strip.left() - 1);
    }

    const QStringList lines = captionLines();
    const QFontMetrics metrics(font());
    const int textHeight = int(lines.size()) * metrics.height();
    int textWidth = 0;
    for (const QString &line : lines)
        textWidth = qMax(textWidth, metrics.horizontalAdvance(line));
    const QSize glyph = m_glyph.isNull() ? QSize() : m_glyph.deviceIndependentSize().toSize();
    const int spacing = lines.isEmpty() || m_glyph.isNull() ? 0 : m_glyphSpacing;

    QRect textArea = area;
    switch (m_glyphPosition) {
    case GlyphPosition::Top: {
        const int top = area.top() + (area.height() - glyph.height() - spacing - textHeight) / 2;
        const QPoint glyphAt(area.left() + (area.width() - glyph.width()) / 2, top);
        painter.drawPixmap(QRect(glyphAt, glyph), m_glyph);
        textArea = QRect(area.left(), top + glyph.height() + spacing, area.width(), textHeight);
        break;
    }
    case GlyphPosition::Left: {
        const int left = area.left() + (area.width() - glyph.width() - spacing - textWidth) / 2;
        const QPoint glyphAt(left, area.top() + (area.height() - glyph.height()) / 2);
        painter.drawPixmap(QRect(glyphAt, glyph), m_glyph);
        textArea = QRect(left + glyph.width() + spacing, area.top(), textWidth, area.height());
        break;
    }
    case GlyphPosition::None:
        break;
    }

    if (lines.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(isEnabled() ? m_textColor : m_textColor.darker(150));
    int y = textArea.top() + (textArea.height() - textHeight) / 2;
    for (const QString &line : lines) {
        painter.drawText(QRect(textArea.left(), y, textArea.width(), metrics.height()), Qt::AlignCenter,
                         line);
        y += metrics.height();
    }
}

void StationButton::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_popupMenu) {
        QAbstractButton::contextMenuEvent(event);
        return;
    }
    m_popupMenu->popup(event->globalPos());
    event->accept();
}

void StationButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void StationButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void StationButton::showDropDown()
{
    // The menu is modal; the button must not stay pressed behind it.
    setDown(false);
    m_dropDownMenu->exec(mapToGlobal(rect().bottomLeft() + QPoint(0, 1)));
    m_hovered = underMouse();
    update();
}
