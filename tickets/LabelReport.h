#pragma once

#include "tickets/LabelAttributes.h"
#include "tickets/LabelChildList.h"
#include "tickets/LabelPage.h"

/// A whole label layout: the report's settings (print options, ...), the
/// datasets it lists, and its pages.
class LabelReport
{
public:
    const LabelAttributes &attributes() const { return m_attributes; }
    LabelAttributes &attributes() { return m_attributes; }
    const LabelChildList<LabelPage> &pages() const { return m_pages; }
    LabelChildList<LabelPage> &pages() { return m_pages; }

    /// The items of the dataset list (DataSet, DataSetName, ...).
    const QList<LabelAttributes> &datasets() const { return m_datasets; }
    QList<LabelAttributes> &datasets() { return m_datasets; }
    /// Whether the layout has a dataset list element (written back only then).
    bool hasDatasetList() const { return m_hasDatasetList; }
    void setHasDatasetList(bool has) { m_hasDatasetList = has; }
    /// Lists dataSet under the name dataSetName, unless it is listed already.
    void addDataset(const QString &dataSet, const QString &dataSetName);

    bool isEmpty() const { return m_pages.size() == 0; }

    /// The printer the layout asks for; empty for the system's default printer
    /// (no printer named, or "Default").
    QString printerName() const;
    int copies() const;

    /// The layout the station holds from start-up until a layout file is
    /// loaded: the 40 x 20 mm label with the order number and the article.
    static LabelReport builtIn();

    bool operator==(const LabelReport &) const = default;

private:
    LabelAttributes m_attributes;
    QList<LabelAttributes> m_datasets;
    bool m_hasDatasetList = false;
    LabelChildList<LabelPage> m_pages;
};
