// Diagnostic lines on standard output; seen only when the windowed program's output is
// redirected.
#pragma once

#if defined(__GNUC__)
#define TRACE_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define TRACE_FORMAT
#endif

void Trace(const char* format, ...) TRACE_FORMAT;
