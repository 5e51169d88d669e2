#include "app/LanguageFile.h"

#include "app/StationError.h"
#include "data/ConnectionSettings.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

LanguageFile::LanguageFile(QString directory, QString codepage)
    : m_directory(std::move(directory))
    , m_codepage(std::move(codepage))
{
}

LanguageFile LanguageFile::inWorkingDirectory()
{
    const QString directory = QDir::currentPath();
    return LanguageFile(directory, ConnectionSettings::fromWorkingDirectory(directory, QString()).codepage);
}

QString LanguageFile::path() const
{
    const QDir dir(m_directory);
    if (QFileInfo(dir.filePath(defaultName())).isFile())
        return dir.filePath(defaultName());
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(defaultName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(defaultName());
}

bool LanguageFile::exists() const
{
    return QFileInfo(path()).isFile();
}

std::optional<QString> LanguageFile::firstLine() const
{
    const QString name = path();
    if (!QFileInfo(name).isFile())
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(
            QStringLiteral("Impossible de lire le fichier de langue %1 : %2").arg(name, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StationError(
            QStringLiteral("Impossible de lire le fichier de langue %1 : %2").arg(name, file.errorString()));

    return firstLineOf(bytes, m_codepage);
}

std::optional<QString> LanguageFile::firstLineOf(const QByteArray &bytes, const QString &codepage)
{
    QString text;
    if (const auto bom = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*bom);
        text = decoder.decode(bytes);
    } else {
        QStringDecoder decoder(codepage.toLatin1().constData());
        if (!decoder.isValid())
            throw StationError(QStringLiteral("Code de page inconnu : %1").arg(codepage));
        text = decoder.decode(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.isEmpty())
        return std::nullopt;
    qsizetype end = 0;
    while (end < text.size() && text.at(end) != u'\r' && text.at(end) != u'\n')
        ++end;
    return text.left(end);
}

void LanguageFile::write(const QString &letter) const
{
    QStringEncoder encoder(m_codepage.toLatin1().constData());
    if (!encoder.isValid())
        throw StationError(QStringLiteral("Code de page inconnu : %1").arg(m_codepage));
    const QByteArray bytes = encoder.encode(letter + QStringLiteral("\r\n"));

    const QString name = path();
    // Written beside and renamed over the old file, so that a failed write
    // never leaves a half-written one; where no file can be made beside it
    // (a read-only folder holding a writable file), written in place.
    QSaveFile file(name);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw StationError(
            QStringLiteral("Impossible d'écrire le fichier de langue %1 : %2").arg(name, file.errorString()));
}
