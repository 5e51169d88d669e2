#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

class QMenu;

/// The station's push button: a coloured face, an optional 32 x 32 glyph above
/// or left of the caption, a caption of one or more lines (CR LF between
/// them), no keyboard focus. It may carry a drop-down menu (opened by a click,
/// with an arrow on the face) and a context menu (opened by a right click).
class StationButton : public QAbstractButton
{
    Q_OBJECT

public:
    enum class GlyphPosition { None, Top, Left };
    enum class Face {
        Flat, ///< plain coloured face
        UltraFlat, ///< coloured face with a thin frame
        Transparent ///< no face: the parent shows through
    };

    explicit StationButton(QWidget *parent = nullptr);

    void setFace(Face face);
    Face face() const { return m_face; }
    void setFaceColor(const QColor &color);
    QColor faceColor() const { return m_faceColor; }
    void setTextColor(const QColor &color);
    QColor textColor() const { return m_textColor; }
    void setGlyph(const QPixmap &glyph, GlyphPosition position);
    const QPixmap &glyph() const { return m_glyph; }
    GlyphPosition glyphPosition() const { return m_glyphPosition; }
    /// Pixels between the glyph and the caption.
    void setGlyphSpacing(int spacing);

    /// A click opens this menu under the button instead of clicking it.
    void setDropDownMenu(QMenu *menu);
    QMenu *dropDownMenu() const { return m_dropDownMenu; }
    /// A right click opens this menu.
    void setPopupMenu(QMenu *menu);
    QMenu *popupMenu() const { return m_popupMenu; }

    /// The caption's lines, as drawn.
    QStringList captionLines() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void showDropDown();

    Face m_face = Face::Flat;
    QColor m_faceColor;
    QColor m_textColor;
    QPixmap m_glyph;
    GlyphPosition m_glyphPosition = GlyphPosition::None;
    int m_glyphSpacing = 4;
    QMenu *m_dropDownMenu = nullptr;
    QMenu *m_popupMenu = nullptr;
    bool m_hovered = false;
};
