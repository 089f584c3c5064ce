// The skin picker: the desktop's open-file dialog with a preview of the selected picture.
#pragma once

#include <optional>
#include <string>

class QWidget;

// Opens in the folder of `fieldText` (or the program's folder) on the filter of the process-wide
// filter index; returns the chosen file's full path and leaves the filter index it implies, or
// nothing when cancelled. The dialog is sized for the screen density `pixelsPerInch` its owner is
// laid out at.
std::optional<std::string> pickSkin(QWidget* owner, const std::string& fieldText, const std::string& programFolder,
                                    int pixelsPerInch);
