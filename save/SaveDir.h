// The folder the save dialog offers: one value for the whole run, kept between openings of the
// Save As window, and how a stored folder is turned into the one offered.
#pragma once

#include <string>

// The process-wide value; empty until the first Save As window has read it.
std::string& SaveDir();

// The folder to offer: the stored folder when it exists, else the one remembered in this run
// when that exists, else `fallbackFolder` (the user's pictures or home folder). The result ends
// with '/'.
std::string resolveSaveDir(const std::string& stored, const std::string& remembered, const std::string& fallbackFolder);

// The folder of a chosen file, with its trailing '/'.
std::string folderOfFile(const std::string& path);
