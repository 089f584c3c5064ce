#include "common/ui/ScreenDensity.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

int scaledDesignLength(int pixelsAt96, int pixelsPerInch)
{
    return static_cast<int>(std::lround(static_cast<double>(pixelsAt96) * pixelsPerInch / 96.0));
}

int layoutPixelsPerInch(int given)
{
    if (given > 0) {
        return given;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
}
