#pragma once

// A value axis with round steps: 1, 2 or 5 times a power of ten, never below one (the charts count
// whole hundredths and whole laps), the ends on whole steps around the values.
struct AxisScale {
    double minimum = 0;
    double maximum = 1;
    double step = 1;

    // At most maxSteps steps between the ends; low and high may be equal.
    static AxisScale around(double low, double high, int maxSteps);
    int stepCount() const;
};
