#pragma once

#include <QFrame>
#include <QRect>
#include <QSize>
#include <QString>

namespace QMWidgets {

// Paints one introduction picture, scaled to fit and centred on black.
class HelpDisplay : public QFrame
{
    Q_OBJECT
public:
    explicit HelpDisplay(QWidget* pParent = nullptr);
    ~HelpDisplay() override;

    void setImagePath(const QString& strPath);
    QString imagePath() const { return m_strImagePath; }

    // Where a picture scaled to sizeScaled (in device pixels, ratio nRatio)
    // goes inside an area of sizeArea logical pixels: centred, at 1/nRatio of
    // its scaled size. A ratio below 1 counts as 1.
    static QRect slideRect(const QSize& sizeArea, const QSize& sizeScaled, int nRatio);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QString m_strImagePath;
};

} // namespace QMWidgets
