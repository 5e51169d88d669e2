#pragma once

#include "tickets/LabelPrintTarget.h"

#include <QString>

/// Prints into a PDF file, each page on the exact paper of its label (the
/// command-line tool's --pdf).
class PdfPrintTarget : public LabelPrintTarget
{
public:
    explicit PdfPrintTarget(QString path);

    /// Throws StationError naming the file when it cannot be written.
    void print(const PreparedLabel &label, const LabelPrintOptions &options) override;

private:
    QString m_path;
};
