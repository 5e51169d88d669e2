#include "app/Fonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>

namespace Fonts {

QStringList fontFiles()
{
    return {
        QStringLiteral("Font/calibrib.TTF"), QStringLiteral("Font/calibrii.TTF"),
        QStringLiteral("Font/calibril.TTF"), QStringLiteral("Font/calibrili.TTF"),
        QStringLiteral("Font/calibriz.TTF"),
    };
}

QStringList registerFontFiles(const QString &directory)
{
    QStringList families;
    const QDir base(directory);
    for (const QString &file : fontFiles()) {
        const QString path = base.filePath(file);
        if (!QFileInfo::exists(path))
            continue;
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0)
            continue;
        for (const QString &family : QFontDatabase::applicationFontFamilies(id)) {
            if (!families.contains(family))
                families.append(family);
        }
    }
    return families;
}

QList<Substitute> substitutes()
{
    return {
        { QStringLiteral("Calibri"), { QStringLiteral("Carlito") } },
        { QStringLiteral("Tahoma"), { QStringLiteral("DejaVu Sans") } },
        { QStringLiteral("Arial"), { QStringLiteral("Liberation Sans") } },
        { QStringLiteral("Arabic Transparent"),
          { QStringLiteral("Noto Sans Arabic"), QStringLiteral("DejaVu Sans") } },
    };
}

QStringList substituteMissingFamilies()
{
    QStringList replaced;
    for (const Substitute &substitute : substitutes()) {
        if (QFontDatabase::hasFamily(substitute.family))
            continue;
        QStringList installed;
        for (const QString &family : substitute.substitutes) {
            if (QFontDatabase::hasFamily(family))
                installed.append(family);
        }
        if (installed.isEmpty())
            continue;
        QFont::removeSubstitutions(substitute.family);
        QFont::insertSubstitutions(substitute.family, installed);
        replaced.append(substitute.family);
    }
    return replaced;
}

} // namespace Fonts
