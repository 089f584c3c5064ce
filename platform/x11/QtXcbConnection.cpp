#include "platform/x11/QtXcbConnection.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

QtXcbConnection qtXcbConnection()
{
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return {};
    }
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    return {connection, screen != nullptr ? screen->root : 0};
}
