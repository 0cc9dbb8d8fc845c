#pragma once

namespace gz {

// The windows load and drop datasets of up to a million cells again and again; keeping freed
// memory in the process for the next load saves the page faults of fetching it anew from the
// system (a reload then costs about two thirds). Call once at the start of main().
void keepFreedMemory();

} // namespace gz
