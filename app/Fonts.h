#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The fonts that the windows name: the Calibri files that come with the
/// station under Font/, and free substitutes for the Windows families that
/// this system lacks.
namespace Fonts {

/// The five font files, relative to the working directory, in the order they are registered.
QStringList fontFiles();

/// Registers each of the font files found under directory with the application's
/// font table, in order; a missing or unreadable file is skipped without a word.
/// Returns the families that the registered files brought.
QStringList registerFontFiles(const QString &directory);

/// A family the windows name and the free families that stand in for it, best first.
struct Substitute
{
    QString family;
    QStringList substitutes;
};
QList<Substitute> substitutes();

/// For each family of substitutes() that no installed or registered font provides,
/// lets the installed substitutes stand in for it. Returns the families so replaced.
QStringList substituteMissingFamilies();

} // namespace Fonts
