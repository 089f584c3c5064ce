// How the Image Editor ended, which tells the Remote Control what to do next.
#pragma once

inline constexpr int kEditResultClose = 2;  // Close, Esc, Enter or the close box
inline constexpr int kEditResultSave = 9;   // "Save As...": continue with the Save As command
inline constexpr int kEditResultPrint = 10; // "Print...": continue with the Print command
