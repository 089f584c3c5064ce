// Starts the clipboard keeper: a small program of its own that serves the last capture on the
// clipboard after Zentrap has ended. It gets the PNG in anonymous memory on descriptor 3 and tells
// on descriptor 4 that it holds the clipboard ("ok") or why it cannot.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include <sys/types.h>

inline constexpr int kKeeperPictureDescriptor = 3;
inline constexpr int kKeeperReportDescriptor = 4;

// Empty when the keeper holds the clipboard, otherwise why it does not. Waits at most `limit`.
// `pid`, when given, receives the keeper's process id (for measuring it).
std::string startClipboardKeeper(const std::string& program, std::span<const uint8_t> png,
                                 std::chrono::milliseconds limit, pid_t* pid = nullptr);
