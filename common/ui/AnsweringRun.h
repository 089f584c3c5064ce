// Runs a long piece of work on a thread of its own while this thread goes on answering the
// window system and the end signals (the work must not touch widgets).
#pragma once

#include <atomic>
#include <functional>

// Returns once `work` has returned. When the program is told to end first, sets `abandon` (the
// work checks it and stops early) and waits for the work to stop.
void runAnswering(const std::function<void()>& work, std::atomic<bool>& abandon);
