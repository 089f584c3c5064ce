// The one QApplication of a test program, made on first use: one logical pixel per screen pixel,
// and Qt's offscreen platform unless the environment names another.
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
