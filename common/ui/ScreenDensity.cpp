#include "common/ui/ScreenDensity.h"

#include "common/Rounding.h"

#include <QGuiApplication>
#include <QScreen>

int layoutPixelsPerInch(int given)
{
    if (given > 0) {
        return given;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(roundHalfEven(screen->logicalDotsPerInch())) : 96;
}
