// Qt's own connection to the X server, for services whose events must arrive with Qt's.
#pragma once

#include <cstdint>

struct xcb_connection_t;

struct QtXcbConnection {
    xcb_connection_t* connection = nullptr; // null when Qt does not run on X11
    uint32_t root = 0;                      // the root window of Qt's default screen
};

QtXcbConnection qtXcbConnection();
