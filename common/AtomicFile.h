// Writes a file so that it is either complete or untouched: a temporary file in the target's
// folder, flushed, then renamed over the target.
#pragma once

#include "common/ByteSink.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

// Calls `produce` with a sink on a temporary file beside the target, then renames it over the
// target. The target's folder is opened first and everything in it is reached from there, so the
// kernel resolves every link on the way. A symbolic link at the name is followed (its final target
// is replaced and the link stays), except a link in a world-writable sticky folder (like /tmp)
// that belongs neither to the user nor to the folder's owner: that save is refused as the kernel
// refuses such links ("Permission denied").
// Refused before anything is written: a target that is a folder, FIFO, device or socket, and an
// existing target that the user may not write ("Permission denied", as a direct write would be).
// A replaced file keeps its permission bits (and owner, where the system allows) but never gains
// the set-user-ID or set-group-ID bit.
// Any failure (of `produce` too) removes the temporary file, leaves the target as it was and
// throws ZentrapError with the system's error text (or `produce`'s own exception); outgrowing the
// file size limit reports "File too large" (SIGXFSZ is ignored from the first call on). While a
// write is under way, SIGTERM, SIGINT and SIGHUP that would end the process remove the temporary
// file first. Each save first removes the stale temporary files in its folder (see below).
void writeFileAtomically(const std::string& path, const std::function<void(ByteSink&)>& produce);

// Temporary files are named ".zentrap-" + 8 letters or digits + ".tmp", whatever the target's
// name, so that any name the folder accepts can be saved.
bool isAtomicFileTemporaryName(std::string_view name);

// Removes the leftovers of saves killed in `folder`: files of this user named as our temporary
// files, locked by no live writer (a save holds a lock on its temporary file) and untouched for
// `age`. Returns how many were removed.
int removeStaleTemporaryFiles(const std::string& folder, std::chrono::seconds age = std::chrono::seconds(60));
