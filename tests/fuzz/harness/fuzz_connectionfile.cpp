// The connection file as the station reads it at start-up: decoded, split into
// lines, then line 1 and line 2 asked for. A short file is a StationError,
// never a crash.
#include "FuzzInput.h"

#include "app/ConnectionFile.h"
#include "app/StationError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const ConnectionFile file = ConnectionFile::fromBytes(bytes, fuzzCodepage(bytes));
    try {
        const QString database = file.database();
        const QString label = file.serverLabel();
        if (database.contains(u'\n') || label.contains(u'\n') || database.contains(u'\r'))
            __builtin_trap(); // a line never holds a line break
    } catch (const StationError &) {
    }
    return 0;
}
