// station.ini's text: every value the station asks for.
#include "FuzzInput.h"

#include "data/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const IniFile ini = IniFile::fromText(QString::fromUtf8(fuzzBytes(data, size)));
    for (const char *key : {"password", "codepage", "locktimeout", "clientlibrary"})
        (void)ini.value(QStringLiteral("database"), QString::fromLatin1(key));
    (void)ini.value(QStringLiteral("audio"), QStringLiteral("device"));
    return 0;
}
