#include "calling/AnnouncementPlan.h"

#include "app/StationError.h"

using namespace Qt::StringLiterals;

QStringList AnnouncementPlan::clipsFor(int number)
{
    if (number < 0)
        throw StationError(u"Order number %1 cannot be called out: it is negative"_s.arg(number));

    const QString text = QString::number(number);
    QStringList clips { u"TALABIA"_s };
    if (number <= 100) {
        clips << u"FA"_s + text;
    } else if (number < 1000) {
        clips << u"FA"_s + text.at(0) + u"00"_s;
        const int rest = number % 100;
        if (rest != 0)
            clips << u"WA"_s << u"FA"_s + QString::number(rest);
    } else {
        for (const QChar digit : text)
            clips << u"FA"_s + digit;
    }
    return clips;
}
