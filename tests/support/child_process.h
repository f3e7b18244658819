// Runs a piece of a test in a forked child, so that limits, signals and dropped rights stay there.
#pragma once

#include <functional>
#include <string>

struct ChildRun {
    int exitCode;       // -1 when the child did not exit normally
    std::string output; // the child's standard output
};

ChildRun RunInChild(const std::function<int()>& body);
