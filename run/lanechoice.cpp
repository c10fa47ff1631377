// Which of lanekernels.cpp's instruction sets a program runs.
#include <initializer_list>

#include "run/lanekernels.h"

namespace kvelmor::lanes {

namespace {

// KVELMOR_WIDE_LANES is defined by the build when it compiles lanekernels.cpp for AVX2 and AVX-512
// too (x86-64 with GCC); __builtin_cpu_supports exists only there.
bool processorRuns(LaneSet set)
{
#if defined(KVELMOR_WIDE_LANES)
    __builtin_cpu_init();
    switch (set) {
    case LaneSet::baseline:
        return true;
    case LaneSet::avx2:
        return __builtin_cpu_supports("avx2");
    case LaneSet::avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
#else
    return set == LaneSet::baseline;
#endif
}

LaneSet chooseSet()
{
    for (LaneSet set : {LaneSet::avx512, LaneSet::avx2}) {
        if (laneSetAvailable(set)) return set;
    }
    return LaneSet::baseline;
}

}  // namespace

bool laneSetAvailable(LaneSet set)
{
    return processorRuns(set);
}

LaneSet activeLaneSet()
{
    static const LaneSet set = chooseSet();
    return set;
}

const char* laneSetName(LaneSet set)
{
    switch (set) {
    case LaneSet::baseline:
        return "baseline";
    case LaneSet::avx2:
        return "avx2";
    case LaneSet::avx512:
        return "avx512";
    }
    return "?";
}

const Kernels& kernelsOf(LaneSet set)
{
#if defined(KVELMOR_WIDE_LANES)
    if (laneSetAvailable(set)) {
        if (set == LaneSet::avx512) return avx512::kernels;
        if (set == LaneSet::avx2) return avx2::kernels;
    }
#else
    (void)set;
#endif
    return baseline::kernels;
}

const Kernels& activeKernels()
{
    static const Kernels& kernels = kernelsOf(activeLaneSet());
    return kernels;
}

}  // namespace kvelmor::lanes
