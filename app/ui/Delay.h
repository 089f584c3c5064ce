// Waiting while the window messages keep being served, so that the screen can repaint.
#pragma once

// Returns after `milliseconds` have passed; events (timers, paints, input) are processed
// meanwhile, so callers must guard their own commands against re-entry.
void delayProcessingEvents(int milliseconds);
