// kitchen-tool announce N [--plan] [--wav FILE]: calls an order number out on
// the station's sound device, prints its clips, or writes it as one WAVE file.

#include "ToolCommand.h"
#include "app/StationError.h"
#include "calling/AnnouncementPlan.h"
#include "calling/Announcer.h"
#include "calling/WavFileSink.h"

#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

int announce(const QStringList &arguments, QTextStream &out)
{
    QString numberText;
    QString wavFile;
    bool printPlan = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--plan") {
            printPlan = true;
        } else if (argument == u"--wav") {
            if (++i == arguments.size())
                throw StationError(u"announce: --wav needs a file name"_s);
            wavFile = arguments.at(i);
        } else if (argument.startsWith(u"--") || !numberText.isNull()) {
            throw StationError(u"announce: unexpected argument %1"_s.arg(argument));
        } else {
            numberText = argument;
        }
    }
    if (numberText.isNull())
        throw StationError(u"announce: which order number? (announce N [--plan] [--wav FILE])"_s);
    bool ok = false;
    const int number = numberText.toInt(&ok);
    if (!ok)
        throw StationError(u"announce: %1 is not an order number"_s.arg(numberText));

    const QStringList clips = AnnouncementPlan::clipsFor(number);
    if (printPlan) {
        for (const QString &clip : clips)
            out << clip << '\n';
    }
    if (!wavFile.isEmpty()) {
        Announcer announcer(std::make_unique<WavFileSink>(wavFile), ClipLibrary());
        announcer.play(clips);
    }
    if (!printPlan && wavFile.isEmpty()) {
        Announcer announcer;
        QString unavailable;
        QObject::connect(&announcer, &Announcer::soundUnavailable, &announcer,
                         [&unavailable](const QString &reason) { unavailable = reason; });
        announcer.play(clips);
        // The station stays quiet about a missing device; an installer wants to know.
        if (!unavailable.isEmpty())
            throw StationError(u"announce: no sound: %1"_s.arg(unavailable));
    }
    return 0;
}

const ToolCommand::Registration registration({ u"announce"_s, u"announce N [--plan] [--wav FILE]"_s,
                                               announce });

} // namespace
