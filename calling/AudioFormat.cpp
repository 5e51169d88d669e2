#include "calling/AudioFormat.h"

using namespace Qt::StringLiterals;

QString AudioFormat::description() const
{
    const QString layout = channels == 1 ? u"mono"_s
        : channels == 2                  ? u"stereo"_s
                                         : u"%1 channels"_s.arg(channels);
    return u"%1 Hz, %2, %3 bits"_s.arg(sampleRate).arg(layout).arg(bitsPerSample);
}
