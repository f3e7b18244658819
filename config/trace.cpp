#include "config/trace.h"

#include <cstdarg>
#include <cstdio>

void Trace(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}
