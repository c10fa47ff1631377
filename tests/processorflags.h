#pragma once

// What the tests of the sums' paths and kernels expect of the processor they run on, found apart
// from the program's own check: the flags the kernel lists in /proc/cpuinfo.
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

inline std::set<std::string> processorFlags()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line) && line.rfind("flags", 0) != 0) {
    }
    std::istringstream words(line);
    return {std::istream_iterator<std::string>(words), {}};
}
