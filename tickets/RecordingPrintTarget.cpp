#include "tickets/RecordingPrintTarget.h"

#include "tickets/LabelRenderer.h"

void RecordingPrintTarget::print(const PreparedLabel &label, const LabelPrintOptions &options)
{
    m_jobs.append({ options, label });
}

QImage RecordingPrintTarget::pageImage(qsizetype job, qsizetype page, double dpi) const
{
    return LabelRenderer::renderImage(m_jobs.at(job).label.pages.at(page), dpi);
}
