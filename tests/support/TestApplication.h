// The one application object of a test program, made on first use: without high-DPI scaling and,
// unless the environment names another, on the offscreen platform, so no window reaches a desktop.
#pragma once

#include <QApplication>

inline QApplication& testApplication()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return *existing;
    }
    static int argc = 1;
    static char name[] = "zentrap-test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return *new QApplication(argc, argv);
}
