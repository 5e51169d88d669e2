// The language file's first line, decoded by its byte-order mark or the code page.
#include "FuzzInput.h"

#include "app/LanguageFile.h"
#include "app/StationError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    try {
        const std::optional<QString> line = LanguageFile::firstLineOf(bytes, fuzzCodepage(bytes));
        if (line && (line->contains(u'\r') || line->contains(u'\n')))
            __builtin_trap();
    } catch (const StationError &) {
    }
    return 0;
}
