#pragma once

#include "tickets/LabelReport.h"

#include <QByteArray>
#include <QString>

/// Reads and writes label layout files: report XML with a TfrxReport root,
/// pages, bands and objects, lengths of pages in millimetres and of bands and
/// objects in pixels of 1/96 inch.
///
/// Elements and attributes that the model does not know are kept: an element
/// as the very text it had in the file, an attribute with its value. Writing
/// a layout that was read gives the file back, with the changed attributes
/// changed.
class LabelLayoutFile
{
public:
    /// Reads the file. Throws StationError naming the file when it cannot be
    /// read, is not XML, is not a label layout or holds figures that no label
    /// can have (a paper of 0 mm or of 10 m, a width that is no number, ...).
    static LabelReport read(const QString &path);
    /// The same for the content of a file; fileName names it in the errors.
    static LabelReport fromXml(const QByteArray &content, const QString &fileName);

    /// The layout as file content (UTF-8).
    static QByteArray toXml(const LabelReport &report);
    /// Writes the file whole or not at all: when writing fails, the file that
    /// was there is left as it was and StationError names the file.
    static void write(const LabelReport &report, const QString &path);
};
