#pragma once

#include "tickets/LabelAttributes.h"
#include "tickets/LabelChildList.h"
#include "tickets/LabelObject.h"

#include <optional>

/// A band of a page: a strip as wide as the printable width that holds
/// objects and is printed as its kind says (the report title once per run, a
/// master data band once per row of its dataset, ...).
class LabelBand
{
public:
    enum class Kind { ReportTitle, PageHeader, MasterData, ReportSummary, PageFooter };

    explicit LabelBand(Kind kind = Kind::ReportTitle);

    static QString tagName(Kind kind);
    static std::optional<Kind> kindOfTag(QStringView tag);

    Kind kind() const { return m_kind; }
    QString tagName() const { return tagName(m_kind); }

    const LabelAttributes &attributes() const { return m_attributes; }
    LabelAttributes &attributes() { return m_attributes; }
    const LabelChildList<LabelObject> &objects() const { return m_objects; }
    LabelChildList<LabelObject> &objects() { return m_objects; }

    QString name() const;
    void setName(const QString &name);
    bool isVisible() const;
    /// Pixels of 1/96 inch.
    double height() const;
    void setHeight(double height);
    qint64 fillColor() const;
    LabelFrame frame() const;

    /// A master data band: the dataset it runs over (its user name, or the
    /// name of the dataset component), empty when it is bound to none, and
    /// how often it prints when it is bound to none.
    QString dataSetName() const;
    int rowCount() const;

    bool operator==(const LabelBand &) const = default;

private:
    Kind m_kind;
    LabelAttributes m_attributes;
    LabelChildList<LabelObject> m_objects;
};
