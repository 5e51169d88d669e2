#pragma once

class QImage;

/// Fills Bitmap (32 bits per pixel, bytes blue, green, red, alpha, rows top to
/// bottom) from Image with its colours premultiplied by alpha.
///
/// The arithmetic is the one the splash window was designed with: q = a / 255
/// rounded to double, then each colour byte := the integer part of the exact
/// product c × q. Because q is rounded first, the result is not always the
/// integer part of c × a / 255 (128 × 255 gives 127). An image without an
/// alpha channel counts as opaque; an empty image gives an empty bitmap.
void PremultiplyBitmap(QImage &Bitmap, const QImage &Image);

/// The colour byte PremultiplyBitmap stores for the colour value c under alpha a.
int premultipliedChannel(int alpha, int colour);
