#include "app/ConnectionFile.h"

#include "app/StationError.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

ConnectionFile ConnectionFile::read(const QString &path, const QString &codepage)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(
            QStringLiteral("Impossible d'ouvrir le fichier de connexion \"%1\" : %2")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StationError(
            QStringLiteral("Impossible de lire le fichier de connexion \"%1\" : %2")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), file.errorString()));
    return fromBytes(bytes, codepage, path);
}

ConnectionFile ConnectionFile::fromBytes(const QByteArray &bytes, const QString &codepage,
                                         const QString &path)
{
    ConnectionFile result;
    result.m_path = path;
    result.m_lines = splitLines(decode(bytes, codepage));
    return result;
}

QString ConnectionFile::decode(const QByteArray &bytes, const QString &codepage)
{
    // The byte-order mark wins over the configured code page, and is not part of the text.
    struct Mark
    {
        QByteArrayView bytes;
        QStringConverter::Encoding encoding;
    };
    static const Mark marks[] = {
        { QByteArrayView("\xEF\xBB\xBF", 3), QStringConverter::Utf8 },
        { QByteArrayView("\xFF\xFE", 2), QStringConverter::Utf16LE },
        { QByteArrayView("\xFE\xFF", 2), QStringConverter::Utf16BE },
    };
    for (const Mark &mark : marks) {
        if (bytes.startsWith(mark.bytes)) {
            QStringDecoder decoder(mark.encoding, QStringConverter::Flag::Stateless);
            return decoder(QByteArrayView(bytes).sliced(mark.bytes.size()));
        }
    }

    QStringDecoder decoder(codepage.toLatin1().constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        throw StationError(QStringLiteral("Page de code inconnue : \"%1\"").arg(codepage));
    return decoder(bytes);
}

QStringList ConnectionFile::splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text.at(end) != u'\r' && text.at(end) != u'\n')
            ++end;
        lines.append(text.sliced(start, end - start));
        if (end < size && text.at(end) == u'\r')
            ++end;
        if (end < size && text.at(end) == u'\n')
            ++end;
        start = end;
    }
    return lines;
}

QString ConnectionFile::database() const
{
    return line(0, QStringLiteral("la base de données"));
}

QString ConnectionFile::serverLabel() const
{
    return line(1, QStringLiteral("le nom du serveur"));
}

QString ConnectionFile::line(int index, const QString &role) const
{
    if (index >= m_lines.size()) {
        const QString where = QDir::toNativeSeparators(m_path);
        if (m_lines.isEmpty())
            throw StationError(
                QStringLiteral("Le fichier de connexion \"%1\" est vide : la ligne %2 (%3) manque.")
                    .arg(where)
                    .arg(index + 1)
                    .arg(role));
        throw StationError(
            QStringLiteral("Le fichier de connexion \"%1\" n'a que %2 ligne(s) : la ligne %3 (%4) manque.")
                .arg(where)
                .arg(m_lines.size())
                .arg(index + 1)
                .arg(role));
    }
    return m_lines.at(index);
}
