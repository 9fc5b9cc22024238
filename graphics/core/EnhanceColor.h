#pragma once

#include "ColorValue.h"

namespace dovrel {

// The four values of the enhancement sliders, each 0 to 100 (the negated
// slider positions): per cent added to red, green and blue, and the threshold
// in per cent of 255 at or below which a component is left alone.
struct EnhanceSettings {
    int red = 20;
    int green = 20;
    int blue = 20;
    int min = 20;
};

// Brightens every component above the threshold by its slider's per cent,
// dropping fractions and holding the result at 255.
ColorValue EnhanceColor(ColorValue color, const EnhanceSettings &settings);

} // namespace dovrel
