#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

/// Where the label tests find their layout files.
namespace TicketTestSupport {

inline QString sourceDir()
{
    return qEnvironmentVariable("STATION_SOURCE_DIR", QStringLiteral(STATION_TEST_SOURCE_DIR));
}

/// A layout file of tests/tickets/data.
inline QString fixture(const QString &name)
{
    return sourceDir() + u"/tests/tickets/data/" + name;
}

/// The built-in label as a file: the 40 x 20 mm label with the order number and the article.
inline QString sampleLayout()
{
    return sourceDir() + u"/resources/tickets/Etiquette_2X4.fr3";
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Keeps an image for people to look at, in the folder STATION_SCREENSHOTS
/// names (docs/screenshots); without it, nothing is kept.
inline void keepScreenshot(const QString &name, const QImage &image)
{
    const QString folder = qEnvironmentVariable("STATION_SCREENSHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        image.save(QDir(folder).filePath(name));
}

} // namespace TicketTestSupport
