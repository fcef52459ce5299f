#pragma once

#include "ImageProcessT.h"

namespace MGraphX {

// The planar image with 8-bit samples (bytes); see ImageProcessT for the
// constructors. The trailing pointer arguments are reserved and ignored.
class ImageProcess : public ImageProcessT<uchar>
{
public:
    ImageProcess(const int& nDepth, const int& nWidth, const int& nHeight, const int& nFill,
                 void* pReserved = nullptr)
        : ImageProcessT<uchar>(nDepth, nWidth, nHeight, nFill, pReserved) {}
    explicit ImageProcess(const QImage& image, void* pReserved = nullptr)
        : ImageProcessT<uchar>(image, pReserved) {}
    explicit ImageProcess(const char* pFileName, void* pReserved = nullptr)
        : ImageProcessT<uchar>(pFileName, pReserved) {}
    ImageProcess(const ImageProcess& other) = default;
    ImageProcess& operator=(const ImageProcess&) = delete;
    ~ImageProcess() override = default;
};

} // namespace MGraphX
