#pragma once

#include <QImage>
#include <QtGlobal>

namespace dovrel {

// A 24-bit colour held in a 32-bit integer: red in the low byte, then green,
// then blue, top byte 0 (written 0x00BBGGRR). Pixel equality is equality of
// these integers.
using ColorValue = quint32;

inline constexpr ColorValue MakeColor(int red, int green, int blue)
{
    return ColorValue(red & 0xFF) | (ColorValue(green & 0xFF) << 8) | (ColorValue(blue & 0xFF) << 16);
}
inline constexpr int RedOf(ColorValue c) { return int(c & 0xFF); }
inline constexpr int GreenOf(ColorValue c) { return int((c >> 8) & 0xFF); }
inline constexpr int BlueOf(ColorValue c) { return int((c >> 16) & 0xFF); }

inline constexpr QRgb ToRgb(ColorValue c)
{
    return 0xFF000000u | (QRgb(RedOf(c)) << 16) | (QRgb(GreenOf(c)) << 8) | QRgb(BlueOf(c));
}
inline constexpr ColorValue FromRgb(QRgb p)
{
    return MakeColor(int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF));
}

// Every canvas of the program is a 32-bit RGB image.
inline constexpr QImage::Format CanvasFormat = QImage::Format_RGB32;

// A canvas of the given size, all white.
inline QImage MakeCanvas(int width, int height)
{
    QImage image(width, height, CanvasFormat);
    image.fill(0xFFFFFFFFu);
    return image;
}

// The colour of a pixel, or `outside` when (x, y) lies off the image.
inline ColorValue PixelColor(const QImage &image, int x, int y, ColorValue outside = 0x00FFFFFF)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return outside;
    return FromRgb(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]);
}

// Sets a pixel; writes outside the image are dropped.
inline void SetPixelColor(QImage &image, int x, int y, ColorValue c)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    reinterpret_cast<QRgb *>(image.scanLine(y))[x] = ToRgb(c);
}

} // namespace dovrel
