#include "tickets/LabelReport.h"

#include "tickets/LabelLayoutFile.h"

#include <QFile>
#include <cmath>

void LabelReport::addDataset(const QString &dataSet, const QString &dataSetName)
{
    for (const LabelAttributes &item : std::as_const(m_datasets)) {
        if (item.value(u"DataSetName") == dataSetName)
            return;
    }
    m_hasDatasetList = true;
    LabelAttributes item;
    item.setValue(QStringLiteral("DataSet"), dataSet);
    item.setValue(QStringLiteral("DataSetName"), dataSetName);
    m_datasets.append(item);
}

QString LabelReport::printerName() const
{
    const QString name = m_attributes.value(u"PrintOptions.Printer").trimmed();
    return name.compare(u"Default", Qt::CaseInsensitive) == 0 ? QString() : name;
}

int LabelReport::copies() const
{
    return qBound(1, int(std::lround(m_attributes.number(u"PrintOptions.Copies", 1))), 999);
}

LabelReport LabelReport::builtIn()
{
    // The built-in label is carried as a layout file among the program's
    // resources, so that it is the very file a designer would write.
    static const LabelReport report = [] {
        QFile file(QStringLiteral(":/tickets/Etiquette_2X4.fr3"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The built-in label layout is missing from the program's resources");
        return LabelLayoutFile::fromXml(file.readAll(), file.fileName());
    }();
    return report;
}
