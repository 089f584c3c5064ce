// The one application object of a window test program, made on first use: off screen unless a
// platform is asked for, and one logical pixel per screen pixel as in the program.
#pragma once

#include <QApplication>

inline QApplication& testApplication()
{
    static int argc = 1;
    static char name[] = "zentrap-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv);
    }();
    return *app;
}
