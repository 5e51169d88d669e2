// The label layout file: read, written back and read again. A layout that
// was read must be written and read back, and its second writing must be the
// same as its first: opening and saving never damages a layout.
#include "FuzzInput.h"

#include "app/StationError.h"
#include "tickets/LabelLayoutFile.h"

#include <QGuiApplication>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Fonts are looked up through the GUI's font database.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LabelReport report;
    try {
        report = LabelLayoutFile::fromXml(fuzzBytes(data, size), QStringLiteral("Etiquette_2X4.fr3"));
    } catch (const StationError &) {
        return 0;
    }
    const QByteArray written = LabelLayoutFile::toXml(report);
    try {
        const QByteArray again = LabelLayoutFile::toXml(LabelLayoutFile::fromXml(written, QStringLiteral("saved.fr3")));
        if (again != written) {
            std::fprintf(stderr, "a saved layout reads back differently\n--- first\n%s\n--- second\n%s\n",
                         written.constData(), again.constData());
            __builtin_trap();
        }
    } catch (const StationError &error) {
        std::fprintf(stderr, "a saved layout cannot be read back: %s\n%s\n", qPrintable(error.message()),
                     written.constData());
        __builtin_trap();
    }
    return 0;
}
