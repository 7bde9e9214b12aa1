#pragma once

// Start-up timestamps for the benchmarks: with EXAMORA_TIMING set in the
// environment, LogTiming prints "examora-timing <event> <ms>" to stderr,
// the milliseconds counted from the start of the process.
bool TimingEnabled();
void LogTiming(const char *event);
