#include "tickets/LabelPage.h"

#include <cmath>

QString LabelPage::name() const
{
    return m_attributes.value(u"Name");
}

void LabelPage::setName(const QString &name)
{
    m_attributes.setValue(QStringLiteral("Name"), name);
}

QSizeF LabelPage::paperSize() const
{
    return QSizeF(m_attributes.number(u"PaperWidth", 210), m_attributes.number(u"PaperHeight", 297));
}

void LabelPage::setPaperSize(const QSizeF &size)
{
    if (size == paperSize() && m_attributes.contains(u"PaperWidth") && m_attributes.contains(u"PaperHeight"))
        return;
    m_attributes.updateNumber(QStringLiteral("PaperWidth"), size.width());
    m_attributes.updateNumber(QStringLiteral("PaperHeight"), size.height());
    // A size of one's own is a custom paper, unless it is A4 in either direction.
    const bool a4 = (size == QSizeF(210, 297)) || (size == QSizeF(297, 210));
    m_attributes.setValue(QStringLiteral("PaperSize"), QString::number(a4 ? PaperA4 : PaperCustom));
}

int LabelPage::paperSizeCode() const
{
    return int(std::lround(m_attributes.number(u"PaperSize", PaperA4)));
}

bool LabelPage::isLandscape() const
{
    return m_attributes.value(u"Orientation") == u"poLandscape";
}

void LabelPage::setLandscape(bool landscape)
{
    m_attributes.setValue(QStringLiteral("Orientation"),
                          landscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"));
}

QMarginsF LabelPage::margins() const
{
    return QMarginsF(m_attributes.number(u"LeftMargin", 10), m_attributes.number(u"TopMargin", 10),
                     m_attributes.number(u"RightMargin", 10), m_attributes.number(u"BottomMargin", 10));
}

void LabelPage::setMargins(const QMarginsF &margins)
{
    m_attributes.updateNumber(QStringLiteral("LeftMargin"), margins.left());
    m_attributes.updateNumber(QStringLiteral("RightMargin"), margins.right());
    m_attributes.updateNumber(QStringLiteral("TopMargin"), margins.top());
    m_attributes.updateNumber(QStringLiteral("BottomMargin"), margins.bottom());
}

LabelPage LabelPage::newPage(const QString &name)
{
    LabelPage page;
    page.setName(name);
    page.setPaperSize(QSizeF(210, 297));
    page.setMargins(QMarginsF(10, 10, 10, 10));
    page.setLandscape(false);
    return page;
}
