// The translation catalog: parsed, then every culture asked for a caption and
// a literal. A damaged catalog is a StationError.
#include "FuzzInput.h"

#include "app/StationError.h"
#include "app/TranslationCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        const TranslationCatalog catalog =
            TranslationCatalog::parse(fuzzBytes(data, size), QStringLiteral("NC_VELK.i18n"));
        for (const QString &culture : catalog.cultures()) {
            (void)catalog.caption(culture, QStringLiteral("TPassw"), QString());
            (void)catalog.caption(culture, QStringLiteral("TPassw"), QStringLiteral("cxButton1"));
            (void)catalog.literal(culture, QStringLiteral("TPassw"), QStringLiteral("Mot de passe"));
        }
    } catch (const StationError &) {
    }
    return 0;
}
