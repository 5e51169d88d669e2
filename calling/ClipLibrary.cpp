#include "calling/ClipLibrary.h"

#include "app/StationError.h"

#include <QFile>

using namespace Qt::StringLiterals;

ClipLibrary::ClipLibrary(QString folder)
    : m_folder(std::move(folder))
{
    if (!m_folder.endsWith(u'/'))
        m_folder += u'/';
}

QByteArray ClipLibrary::image(const QString &name) const
{
    QFile file(m_folder + name + u".wav"_s);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(u"Resource %1 not found"_s.arg(name));
    return file.readAll();
}

WaveClip ClipLibrary::clip(const QString &name) const
{
    return WaveClip::parse(name, image(name));
}

QStringList ClipLibrary::names()
{
    QStringList names { u"TALABIA"_s };
    for (int n = 0; n <= 100; ++n)
        names << u"FA"_s + QString::number(n);
    for (int n = 200; n <= 900; n += 100)
        names << u"FA"_s + QString::number(n);
    names << u"WA"_s << u"WAJBA"_s;
    return names;
}
