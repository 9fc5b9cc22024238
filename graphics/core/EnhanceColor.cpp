#include "EnhanceColor.h"

namespace dovrel {

namespace {
int Brighten(int v, int percent, int threshold)
{
    if (v <= threshold)
        return v;
    const int grown = v + (v * percent) / 100;
    return grown > 255 ? 255 : grown;
}
} // namespace

ColorValue EnhanceColor(ColorValue color, const EnhanceSettings &settings)
{
    const int threshold = (settings.min * 255) / 100;
    return MakeColor(Brighten(RedOf(color), settings.red, threshold),
                     Brighten(GreenOf(color), settings.green, threshold),
                     Brighten(BlueOf(color), settings.blue, threshold));
}

} // namespace dovrel
