// The Print command's window: the Print Preview on the current printer, or the message
// "No printer installed" and no window when there is no printer to make current (or the
// platform has no print service).
#pragma once

#include "print/ui/PrintPreviewWindow.h"

#include <memory>

inline constexpr const char* kNoPrinterMessage = "No printer installed";

std::unique_ptr<PrintPreviewWindow> openPrintPreview(const Platform& platform, SettingsFile& settingsFile,
                                                     const PrintPreviewHost& host, QWidget* owner);
