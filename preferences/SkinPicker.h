// The skin picker's rules: where it opens, which filter it starts with and which it remembers.
#pragma once

#include <cstdint>
#include <string>

// The skin picker's filters in their order (filter index 1 and 2).
inline constexpr const char* kSkinBitmapFilter = "Bitmaps (*.bmp)";
inline constexpr const char* kSkinJpegFilter = "JPEG Images (*.jpg;*.jpeg)";
inline constexpr const char* kSkinPickerTitle = "Select ZTP! Skin ";

// The filter the picker opens with: 1 bitmaps, 2 JPEG pictures. Process-wide, as the picker and the
// Preferences window share it; it holds a byte, as the stored value is kept.
uint8_t& skinFilterIndex();

// The folder the picker opens in: the folder part of the "Skin:" field's text when it has one,
// otherwise the program's folder.
std::string skinPickerFolder(const std::string& fieldText, const std::string& programFolder);

// The filter index that a chosen file leaves behind: 1 when its extension is exactly ".bmp"
// (compared case-sensitively, so BLUE.BMP gives 2), otherwise 2.
uint8_t skinFilterIndexFor(const std::string& chosenPath);
