#pragma once

#include "tickets/PreparedLabel.h"

#include <QString>

/// How a label run is to be printed.
struct LabelPrintOptions
{
    QString jobName;
    /// Empty for the system's default printer.
    QString printerName;
    int copies = 1;
};

/// Where prepared labels go: the printing system on the station, a recorder
/// in tests. Printing never asks anything (no dialog).
class LabelPrintTarget
{
public:
    virtual ~LabelPrintTarget() = default;
    /// Hands every page of label to the printer as one job; returns when the
    /// printing system has it. Throws StationError when it cannot.
    virtual void print(const PreparedLabel &label, const LabelPrintOptions &options) = 0;
};
