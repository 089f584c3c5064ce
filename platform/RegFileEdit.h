// Saving changes into a hive file's text as it stands, keeping every line Zentrap does not own.
#pragma once

#include "platform/RegFileFormat.h"

#include <string>
#include <string_view>
#include <vector>

// The hive file `bytes` with `changes` made to it, every line that Zentrap does not change kept in
// its place: comments, key deletions, lines that cannot be read and other programs' values. A
// value is replaced where its name last stands (the occurrence that counts, or a line whose data
// could not be read); a new value goes after the last line of its key's last section; a new key
// becomes a section at the end. New lines follow the file's line ends. A file in UTF-16 comes back
// in UTF-8. Takes memory for the new text and the changes only.
std::string editRegFile(std::string_view bytes, const std::vector<RegChange>& changes, std::string_view rootName);
