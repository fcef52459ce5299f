#pragma once

#include "ImageProcessT.h"

namespace MGraphX {

// The planar image with single-precision samples; see ImageProcessT for the
// constructors. The trailing pointer arguments are reserved and ignored.
class ImageProcessFloat : public ImageProcessT<float>
{
public:
    ImageProcessFloat(const int& nDepth, const int& nWidth, const int& nHeight, const int& nFill,
                      void* pReserved = nullptr)
        : ImageProcessT<float>(nDepth, nWidth, nHeight, nFill, pReserved) {}
    explicit ImageProcessFloat(const QImage& image, void* pReserved = nullptr)
        : ImageProcessT<float>(image, pReserved) {}
    explicit ImageProcessFloat(const char* pFileName, void* pReserved = nullptr)
        : ImageProcessT<float>(pFileName, pReserved) {}
    ImageProcessFloat(const ImageProcessFloat& other) = default;
    ImageProcessFloat& operator=(const ImageProcessFloat&) = delete;
    ~ImageProcessFloat() override = default;
};

} // namespace MGraphX
