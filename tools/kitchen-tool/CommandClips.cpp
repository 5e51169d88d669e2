// kitchen-tool clips [--folder DIR]: lists every voice clip with its duration,
// from the program or from a folder of recordings meant to replace them.

#include "ToolCommand.h"
#include "app/StationError.h"
#include "calling/ClipLibrary.h"

#include <QTextStream>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

int clips(const QStringList &arguments, QTextStream &out)
{
    ClipLibrary library;
    if (arguments.size() == 2 && arguments.first() == u"--folder")
        library = ClipLibrary(arguments.at(1));
    else if (!arguments.isEmpty())
        throw StationError(u"clips: unexpected argument %1 (clips [--folder DIR])"_s.arg(arguments.first()));

    // Every clip is checked and listed; what is wrong goes to standard error, and
    // the status says whether the set can be played as it is.
    QTextStream err(stderr);
    std::optional<AudioFormat> setFormat;
    int problems = 0;
    for (const QString &name : ClipLibrary::names()) {
        try {
            const WaveClip clip = library.clip(name);
            out << name << '\t' << QString::number(clip.seconds(), 'f', 3) << " s\n";
            if (!setFormat)
                setFormat = clip.format;
            if (clip.format != *setFormat) {
                err << name << ": " << clip.format.description() << ", the clips before it are "
                    << setFormat->description() << '\n';
                ++problems;
            }
        } catch (const StationError &error) {
            err << error.message() << '\n';
            ++problems;
        }
    }
    return problems == 0 ? 0 : 1;
}

const ToolCommand::Registration registration({ u"clips"_s, u"clips [--folder DIR]"_s, clips });

} // namespace
