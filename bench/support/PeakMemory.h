// This process's resident memory as the kernel counts it, for the benchmarks that report how much
// an operation takes at its peak.
#pragma once

#include <cstddef>

// The peak resident size so far (VmHWM), in bytes.
size_t peakResidentBytes();
// The resident size now (VmRSS), in bytes.
size_t residentBytes();
// Starts the peak again from the resident size now, so that the next peak is one operation's;
// false where the kernel does not allow it (the peak then stays the process's).
bool resetPeakResident();
