#include "app/SplashScreenBitmap.h"

#include <QImage>
#include <cmath>
#include <cstdint>

int premultipliedChannel(int alpha, int colour)
{
    const double q = alpha / 255.0;
    if (q == 0.0 || colour == 0)
        return 0;
    // The product must be taken exactly, then truncated: a double product
    // would round and could land on the integer above. q is m * 2^(e - 53)
    // with an integer mantissa m of 53 bits, and c * m fits in 61 bits.
    int exponent = 0;
    const double fraction = std::frexp(q, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const std::uint64_t product = static_cast<std::uint64_t>(colour) * mantissa;
    return static_cast<int>(product >> (53 - exponent));
}

void PremultiplyBitmap(QImage &Bitmap, const QImage &Image)
{
    if (Image.isNull()) {
        Bitmap = QImage();
        return;
    }
    const QImage source = Image.convertToFormat(QImage::Format_ARGB32);
    // ARGB32_Premultiplied holds a pixel as the 32-bit value 0xAARRGGBB, which
    // the station's little-endian machines store as blue, green, red, alpha.
    QImage bitmap(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(bitmap.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb pixel = in[x];
            const int a = qAlpha(pixel);
            out[x] = qRgba(premultipliedChannel(a, qRed(pixel)), premultipliedChannel(a, qGreen(pixel)),
                           premultipliedChannel(a, qBlue(pixel)), a);
        }
    }
    Bitmap = bitmap;
}
