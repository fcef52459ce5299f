#pragma once

#include <QImage>
#include <QObject>

namespace MGraphX {

// A 4 x 4 single-precision matrix over red, green, blue and alpha: cell
// m[i][j] is how much of input channel i goes into output channel j. Each
// output is the sum over the inputs, truncated toward zero and limited to
// 0..255. Presets change only the cells they name.
class ColorMatrix : public QObject
{
    Q_OBJECT

public:
    ColorMatrix();
    ColorMatrix(const ColorMatrix& other);
    ~ColorMatrix() override = default;

    // Copies the other's cells and change mask.
    virtual ColorMatrix& assign(const ColorMatrix& other);

    float cell(int nInput, int nOutput) const { return m_fCells[nInput][nOutput]; }
    int changeMask() const { return m_nChangeMask; }

    void reset();
    // Diagonal of the colour block s + (1 - s) / 3, the rest of it (1 - s) / 3.
    void setSaturation(float s);
    void setScale(float r, float g, float b, float a);
    void setBrightness(float x);
    void setGrayAverage();
    // Luminance weights 0.3086, 0.6094 and 0.0820 in every colour output.
    void setGrayLuminance();
    void swapRedGreen();
    void swapRedBlue();
    void swapGreenBlue();
    // Every colour output becomes (r, g, b) / d of the sum of the colour
    // inputs, d the sum of the weights each rounded up (1 when not above 0);
    // alpha becomes alpha x a.
    void setTint(float r, float g, float b, float a);
    // Black, with alpha the clamped sum of all four inputs.
    void setAlphaFromSum();

    QRgb transform(int r, int g, int b, int a) const;
    // A copy of the picture with every pixel transformed. 32-bit formats keep
    // their format and are read as stored; others are converted to ARGB32.
    QImage apply(const QImage& image) const;

private:
    void setIdentity();
    void changed() { m_nChangeMask = kAllChanged; }
    void swapColumns(int a, int b);

    static constexpr int kAllChanged = 31;
    float m_fCells[4][4];
    int m_nChangeMask = kAllChanged;
};

} // namespace MGraphX
