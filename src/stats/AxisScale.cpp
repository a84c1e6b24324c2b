#include "stats/AxisScale.h"

#include <algorithm>
#include <cmath>

AxisScale AxisScale::around(double low, double high, int maxSteps) {
    if (high < low)
        std::swap(low, high);
    maxSteps = std::max(maxSteps, 1);
    AxisScale scale;
    for (double power = 1;; power *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            scale.step = factor * power;
            scale.minimum = std::floor(low / scale.step) * scale.step;
            scale.maximum = std::ceil(high / scale.step) * scale.step;
            if (scale.maximum == scale.minimum)
                scale.maximum += scale.step;
            if (scale.stepCount() <= maxSteps)
                return scale;
        }
    }
}

int AxisScale::stepCount() const {
    return int(std::lround((maximum - minimum) / step));
}
