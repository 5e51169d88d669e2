#include "tickets/PdfPrintTarget.h"

#include "app/StationError.h"
#include "tickets/LabelRenderer.h"

#include <QDir>
#include <QFile>
#include <QPdfWriter>

PdfPrintTarget::PdfPrintTarget(QString path)
    : m_path(std::move(path))
{
}

void PdfPrintTarget::print(const PreparedLabel &label, const LabelPrintOptions &options)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw StationError(QStringLiteral("Cannot write \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    }
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setTitle(options.jobName);
    writer.setCreator(QStringLiteral("kitchen-tool"));
    if (!LabelRenderer::paintPages(writer, label) || !file.flush())
        throw StationError(QStringLiteral("Cannot write \"%1\".").arg(QDir::toNativeSeparators(m_path)));
}
