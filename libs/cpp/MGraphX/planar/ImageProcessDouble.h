#pragma once

#include "ImageProcessT.h"

namespace MGraphX {

// The planar image with double-precision samples; see ImageProcessT for the
// constructors. The trailing pointer arguments are reserved and ignored.
class ImageProcessDouble : public ImageProcessT<double>
{
public:
    ImageProcessDouble(const int& nDepth, const int& nWidth, const int& nHeight, const int& nFill,
                       void* pReserved = nullptr)
        : ImageProcessT<double>(nDepth, nWidth, nHeight, nFill, pReserved) {}
    explicit ImageProcessDouble(const QImage& image, void* pReserved = nullptr)
        : ImageProcessT<double>(image, pReserved) {}
    explicit ImageProcessDouble(const char* pFileName, void* pReserved = nullptr)
        : ImageProcessT<double>(pFileName, pReserved) {}
    ImageProcessDouble(const ImageProcessDouble& other) = default;
    ImageProcessDouble& operator=(const ImageProcessDouble&) = delete;
    ~ImageProcessDouble() override = default;
};

} // namespace MGraphX
