#pragma once

#include "tickets/LabelPrintTarget.h"

/// The station's printer: the printing system (CUPS), through QPrinter, with
/// no dialog. Each page gets the exact paper size of its label.
class CupsPrintTarget : public LabelPrintTarget
{
public:
    /// The job goes to the printer named in options when the system has it,
    /// else to the system's default printer. Throws StationError when there is
    /// no printer at all or the job cannot be handed over.
    void print(const PreparedLabel &label, const LabelPrintOptions &options) override;

    /// The queue a job for printerName goes to; empty when there is none.
    static QString resolvePrinter(const QString &printerName);
};
