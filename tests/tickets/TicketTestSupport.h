#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
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

/// What pdfinfo says of a PDF file (empty when it cannot be read yet).
inline QString pdfInfo(const QString &path)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), { path });
    pdfinfo.waitForFinished(30000);
    return QString::fromUtf8(pdfinfo.readAllStandardOutput());
}

/// Whether pdfinfo's text describes one page of 40 x 20 mm (113.4 x 56.7 pt).
inline bool isOneLabelPage(const QString &info)
{
    const QRegularExpressionMatch size
        = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))) && size.hasMatch()
        && qAbs(size.captured(1).toDouble() - 40 * 72 / 25.4) < 1.0
        && qAbs(size.captured(2).toDouble() - 20 * 72 / 25.4) < 1.0;
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
