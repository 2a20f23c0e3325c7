#pragma once

#include "direct_composition/picture.h"

namespace vantorel::direct_composition {

// The part of `picture` that starts at column `left`, row `top` and is
// `width` x `height` pixels, clipped to the picture; null when nothing is left.
Picture cropPicture(const Picture& picture, int left, int top, int width, int height);

// `picture` resampled to `width` x `height` by bicubic convolution (Keys'
// kernel, a = -0.5: the curve through the samples with continuous slope that
// printers and viewers call bicubic), each channel on its own, edges
// extended; null for a null picture or a size below one pixel.
Picture scaleBicubic(const Picture& picture, int width, int height);

// `picture` resampled to `width` x `height` with sample centres aligned: by
// repeating the nearest pixel (REPLICATE), or by weighing the two nearest
// pixels in each direction (BILINEAR), edges extended; null for a null
// picture or a size below one pixel.
Picture scaleNearest(const Picture& picture, int width, int height);
Picture scaleBilinear(const Picture& picture, int width, int height);

}  // namespace vantorel::direct_composition
