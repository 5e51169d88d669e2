// A voice clip read from its WAVE image; anything that is not a usable clip
// is a StationError.
#include "FuzzInput.h"

#include "app/StationError.h"
#include "calling/WaveClip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const WaveClip clip = WaveClip::parse(QStringLiteral("FA7"), fuzzBytes(data, size));
        if (clip.samples.size() > static_cast<qsizetype>(size) || clip.frameCount() < 0 || clip.seconds() < 0)
            __builtin_trap();
    } catch (const StationError &) {
    }
    return 0;
}
