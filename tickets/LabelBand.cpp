#include "tickets/LabelBand.h"

#include "tickets/LabelTagTable.h"

#include <cmath>

namespace {
constexpr LabelTag<LabelBand::Kind> kindTags[] = {
    { LabelBand::Kind::ReportTitle, u"TfrxReportTitle" },
    { LabelBand::Kind::PageHeader, u"TfrxPageHeader" },
    { LabelBand::Kind::MasterData, u"TfrxMasterData" },
    { LabelBand::Kind::ReportSummary, u"TfrxReportSummary" },
    { LabelBand::Kind::PageFooter, u"TfrxPageFooter" },
};
} // namespace

LabelBand::LabelBand(Kind kind)
    : m_kind(kind)
{
}

QString LabelBand::tagName(Kind kind)
{
    return labelTagName(kindTags, kind);
}

std::optional<LabelBand::Kind> LabelBand::kindOfTag(QStringView tag)
{
    return labelKindOfTag(kindTags, tag);
}

QString LabelBand::name() const
{
    return m_attributes.value(u"Name");
}

void LabelBand::setName(const QString &name)
{
    m_attributes.setValue(QStringLiteral("Name"), name);
}

bool LabelBand::isVisible() const
{
    return m_attributes.boolean(u"Visible", true);
}

double LabelBand::height() const
{
    return m_attributes.number(u"Height", 0);
}

void LabelBand::setHeight(double height)
{
    m_attributes.updateNumber(QStringLiteral("Height"), height);
}

qint64 LabelBand::fillColor() const
{
    return LabelColor::fillOf(m_attributes);
}

LabelFrame LabelBand::frame() const
{
    LabelFrame frame;
    frame.readFrom(m_attributes);
    return frame;
}

QString LabelBand::dataSetName() const
{
    const QString name = m_attributes.value(u"DataSetName");
    return name.isEmpty() ? m_attributes.value(u"DataSet") : name;
}

int LabelBand::rowCount() const
{
    return int(std::lround(m_attributes.number(u"RowCount", 1)));
}
