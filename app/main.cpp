// kitchen-station: the order-calling station of the kitchen. Reads no arguments.

#include "app/Fonts.h"
#include "app/SingleInstance.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kitchen-station"));
    QApplication::setApplicationDisplayName(QStringLiteral("Station cuisine"));
    // Where a Windows family that the windows name is missing, a free one stands in.
    Fonts::substituteMissingFamilies();

    TVente_au_comptoir_zedivad window;
    // A second copy brings the running one to the front and ends before it connects.
    if (!window.installDesktopComponents(SingleInstance::identityOf(QApplication::applicationFilePath())))
        return 0;
    window.ForcatmCreate();
    // The customer display comes right after the main window, hidden.
    window.createCustomerDisplay();
    window.show();
    return QApplication::exec();
}
