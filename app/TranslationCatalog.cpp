#include "app/TranslationCatalog.h"

#include "app/StationError.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

class LineError
{
public:
    QString text;
};

/// Reads a quoted text starting at the opening quote at pos; pos ends after
/// the closing quote.
QString readQuoted(const QString &line, qsizetype &pos)
{
    QString out;
    ++pos;
    while (pos < line.size()) {
        const QChar c = line.at(pos++);
        if (c == u'"')
            return out;
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (pos >= line.size())
            break;
        const QChar e = line.at(pos++);
        if (e == u'n')
            out += u'\n';
        else if (e == u't')
            out += u'\t';
        else if (e == u'"' || e == u'\\')
            out += e;
        else
            throw LineError { QStringLiteral("séquence \\%1 inconnue").arg(e) };
    }
    throw LineError { QStringLiteral("guillemet fermant manquant") };
}

/// The key left of '=' (pos ends on the '='). A literal key, Window."text",
/// comes back as literalKey(Window, text).
QString readKey(const QString &line, qsizetype &pos)
{
    QString window;
    while (pos < line.size() && line.at(pos) != u'=') {
        const QChar c = line.at(pos);
        if (c == u'"') {
            const QString owner = window.trimmed();
            if (!owner.endsWith(u'.') || owner.size() < 2)
                throw LineError { QStringLiteral(
                    "un texte entre guillemets suit le nom de la fenêtre et un point") };
            const QString text = readQuoted(line, pos);
            while (pos < line.size() && line.at(pos).isSpace())
                ++pos;
            if (pos >= line.size() || line.at(pos) != u'=')
                throw LineError { QStringLiteral("'=' attendu après le texte entre guillemets") };
            return TranslationCatalog::literalKey(owner.chopped(1), text);
        }
        window += c;
        ++pos;
    }
    if (pos >= line.size())
        throw LineError { QStringLiteral("'=' manquant") };
    const QString key = window.trimmed();
    if (key.isEmpty() || key.contains(u' '))
        throw LineError { QStringLiteral("clé invalide « %1 »").arg(key) };
    return key;
}

QString readValue(const QString &line, qsizetype pos)
{
    const QString raw = line.mid(pos).trimmed();
    if (!raw.startsWith(u'"'))
        return raw;
    qsizetype at = 0;
    const QString value = readQuoted(raw, at);
    if (!raw.mid(at).trimmed().isEmpty())
        throw LineError { QStringLiteral("texte après le guillemet fermant") };
    return value;
}

} // namespace

TranslationCatalog TranslationCatalog::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(QStringLiteral("Impossible de lire le catalogue de traduction %1 : %2")
                               .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw StationError(QStringLiteral("Impossible de lire le catalogue de traduction %1 : %2")
                               .arg(path, file.errorString()));
    return parse(bytes, path);
}

TranslationCatalog TranslationCatalog::parse(const QByteArray &utf8, const QString &sourceName)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        throw StationError(
            QStringLiteral("Catalogue de traduction %1 : ce n'est pas un texte UTF-8").arg(sourceName));

    TranslationCatalog catalog;
    QHash<QString, QString> *section = nullptr;
    QString culture;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const QString trimmed = line.trimmed();
        try {
            if (trimmed.isEmpty() || trimmed.startsWith(u'#') || trimmed.startsWith(u';'))
                continue;
            if (trimmed.startsWith(u'[')) {
                if (!trimmed.endsWith(u']') || trimmed.size() < 3)
                    throw LineError { QStringLiteral("en-tête de section invalide") };
                culture = trimmed.mid(1, trimmed.size() - 2).trimmed();
                if (catalog.m_sections.contains(culture))
                    throw LineError { QStringLiteral("section [%1] donnée deux fois").arg(culture) };
                catalog.m_order.append(culture);
                section = &catalog.m_sections[culture];
                continue;
            }
            if (!section)
                throw LineError { QStringLiteral("texte avant la première section") };
            qsizetype pos = 0;
            while (pos < line.size() && line.at(pos).isSpace())
                ++pos;
            const QString key = readKey(line, pos);
            const QString value = readValue(line, pos + 1);
            if (section->contains(key))
                throw LineError { QStringLiteral("clé donnée deux fois dans la section [%1]").arg(culture) };
            section->insert(key, value);
        } catch (const LineError &error) {
            throw StationError(QStringLiteral("Catalogue de traduction %1, ligne %2 : %3")
                                   .arg(sourceName)
                                   .arg(i + 1)
                                   .arg(error.text));
        }
    }
    return catalog;
}

QStringList TranslationCatalog::cultures() const
{
    return m_order;
}

QString TranslationCatalog::captionKey(const QString &window, const QString &component)
{
    if (component.isEmpty())
        return window + QStringLiteral(".Caption");
    return window + u'.' + component + QStringLiteral(".Caption");
}

QString TranslationCatalog::literalKey(const QString &window, const QString &text)
{
    return window + QChar(0x0001) + text;
}

std::optional<QString> TranslationCatalog::caption(const QString &culture, const QString &window,
                                                   const QString &component) const
{
    return lookup(culture, captionKey(window, component));
}

std::optional<QString> TranslationCatalog::literal(const QString &culture, const QString &window,
                                                   const QString &text) const
{
    return lookup(culture, literalKey(window, text));
}

std::optional<QString> TranslationCatalog::lookup(const QString &culture, const QString &key) const
{
    const auto section = m_sections.constFind(culture);
    if (section == m_sections.cend())
        return std::nullopt;
    const auto found = section->constFind(key);
    if (found == section->cend())
        return std::nullopt;
    return *found;
}
