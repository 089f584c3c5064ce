// Keeps Zentrap's windows on the X server. In a Wayland session Qt would pick its Wayland back end,
// where the windows cannot place themselves, shape their input or read the screen; XWayland gives
// them the X11 desktop they are made for.
#pragma once

// Before the application object exists: chooses Qt's xcb back end when an X display is there and
// the user has not chosen another for Zentrap itself. A choice for Zentrap itself is "-platform"
// on its command line, or QT_QPA_PLATFORM naming a back end other than Wayland (offscreen, vnc...).
// QT_QPA_PLATFORM naming Wayland ("wayland", "wayland;xcb") is what desktops and users set for
// all Qt programs of a session, so it is not taken as a choice for Zentrap.
void chooseXcbBackEnd(int argc, char** argv);
