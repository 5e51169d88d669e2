#pragma once

#include "tickets/LabelPrintTarget.h"

#include <QImage>
#include <QList>

/// A printer that keeps what it is given, for tests: each job with its options
/// and its pages.
class RecordingPrintTarget : public LabelPrintTarget
{
public:
    struct Job
    {
        LabelPrintOptions options;
        PreparedLabel label;
    };

    void print(const PreparedLabel &label, const LabelPrintOptions &options) override;

    const QList<Job> &jobs() const { return m_jobs; }
    void clear() { m_jobs.clear(); }
    /// A page of a job as the label printer would print it (203 dpi by default).
    QImage pageImage(qsizetype job, qsizetype page, double dpi = 203) const;

private:
    QList<Job> m_jobs;
};
