#include "run/portablesums.h"

namespace kvelmor {

StepSum portableStepSum(const Scene& scene, const Wave& wave, double j)
{
    return sumArrowsBy(SumPath::portable, scene, wave, j);
}

}  // namespace kvelmor
