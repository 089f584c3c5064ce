#include "preferences/SkinPicker.h"

uint8_t& skinFilterIndex()
{
    static uint8_t index = 1;
    return index;
}

std::string skinPickerFolder(const std::string& fieldText, const std::string& programFolder)
{
    const size_t slash = fieldText.find_last_of('/');
    return slash == std::string::npos ? programFolder : fieldText.substr(0, slash + 1);
}

uint8_t skinFilterIndexFor(const std::string& chosenPath)
{
    const size_t slash = chosenPath.find_last_of('/');
    const size_t dot = chosenPath.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension && chosenPath.compare(dot, std::string::npos, ".bmp") == 0 ? 1 : 2;
}
