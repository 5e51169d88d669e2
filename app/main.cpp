// kitchen-station: the order-calling station of the kitchen. Reads no arguments.

#include "app/Fonts.h"
#include "app/SingleInstance.h"
#include "data/StopSignals.h"
#include "forms/ErrorBox.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <memory>

int main(int argc, char *argv[])
{
    // Before any thread starts: the database client would otherwise take
    // SIGTERM and SIGINT for itself and leave the station hanging on its way out.
    StopSignals::install([] {
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kitchen-station"));
    QApplication::setApplicationDisplayName(QStringLiteral("Station cuisine"));
    // Where a Windows family that the windows name is missing, a free one stands in.
    Fonts::substituteMissingFamilies();

    // Building the window opens the translation catalog: without it the
    // station does not start, and says why.
    std::unique_ptr<TVente_au_comptoir_zedivad> built;
    try {
        built = std::make_unique<TVente_au_comptoir_zedivad>();
    } catch (const StationError &error) {
        ErrorBox::show(error.message());
        return 1;
    }
    TVente_au_comptoir_zedivad &window = *built;
    // A second copy brings the running one to the front and ends before it connects.
    if (!window.installDesktopComponents(SingleInstance::identityOf(QApplication::applicationFilePath())))
        return 0;
    window.ForcatmCreate();
    // The customer display comes right after the main window, hidden.
    window.createCustomerDisplay();
    window.show();
    return QApplication::exec();
}
