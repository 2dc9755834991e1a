// What the test's own process holds and uses, as each system counts it: for tests that a
// run gives back what it takes and does not spin.
#pragma once

// Open descriptors (handles on Windows).
int openHandleCount();
int threadCount();
// Processor time used by all of the process's threads.
double processCpuSeconds();
// Memory the process holds in RAM.
long residentKilobytes();
