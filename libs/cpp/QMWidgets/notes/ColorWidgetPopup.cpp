#include "ColorWidgetPopup.h"

#include <QGridLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVariant>

namespace QMWidgets {

namespace {

constexpr int kRows = 6;
constexpr int kColumns = 8;
constexpr int kButtonSide = 20;
constexpr char kColorProperty[] = "color";

// Row 5, column 2 is 128,64,64 as in the original palette, not a darker brown.
constexpr QRgb kGrid[kRows][kColumns] = {
    {0xffffff, 0xffc0c0, 0xffe0c0, 0xffffc0, 0xc0ffc0, 0xc0ffff, 0xc0c0ff, 0xffc0ff},
    {0xe0e0e0, 0xff8080, 0xffc080, 0xffff80, 0x80ff80, 0x80ffff, 0x8080ff, 0xff80ff},
    {0xc0c0c0, 0xff0000, 0xff8000, 0xffff00, 0x00ff00, 0x00ffff, 0x0000ff, 0xff00ff},
    {0x808080, 0xc00000, 0xc04000, 0xc0c000, 0x00c000, 0x00c0c0, 0x0000c0, 0xc000c0},
    {0x404040, 0x800000, 0x804000, 0x808000, 0x008000, 0x008080, 0x000080, 0x800080},
    {0x000000, 0x400000, 0x804040, 0x404000, 0x004000, 0x004040, 0x000040, 0x400040},
};

}  // namespace

ColorWidgetPopup::ColorWidgetPopup(QWidget* pParent, Qt::WindowFlags flags)
    : QWidget(pParent, flags)
{
    setWindowFlags(Qt::Popup);
    setObjectName(QStringLiteral("ColorWidgetPopup"));
    setMinimumSize(30, 15);

    auto* pLayout = new QGridLayout;
    pLayout->setMargin(5);
    pLayout->setSpacing(2);
    for (int nRow = 0; nRow < kRows; ++nRow) {
        for (int nColumn = 0; nColumn < kColumns; ++nColumn)
            pLayout->addWidget(createColorButton(QColor(kGrid[nRow][nColumn])), nRow, nColumn);
    }
    setLayout(pLayout);
}

QPushButton* ColorWidgetPopup::createColorButton(const QColor& color)
{
    QPixmap pixmap(kButtonSide, kButtonSide);
    pixmap.fill(color);
    auto* pButton = new QPushButton;
    pButton->setFixedSize(kButtonSide, kButtonSide);
    pButton->setFlat(true);
    pButton->setIcon(QIcon(pixmap));
    pButton->setProperty(kColorProperty, color);
    connect(pButton, SIGNAL(clicked()), this, SLOT(slotColorChanged()));
    return pButton;
}

bool ColorWidgetPopup::isMouseOver() const
{
    return m_bMouseOver;
}

void ColorWidgetPopup::slotColorChanged()
{
    if (auto* pButton = qobject_cast<QPushButton*>(sender())) {
        const QVariant color = pButton->property(kColorProperty);
        if (color.canConvert<QColor>())
            emit colorChanged(color.value<QColor>());
    }
    m_bMouseOver = false;
    hide();
}

void ColorWidgetPopup::enterEvent(QEvent* pEvent)
{
    m_bMouseOver = true;
    QWidget::enterEvent(pEvent);
}

void ColorWidgetPopup::leaveEvent(QEvent* pEvent)
{
    m_bMouseOver = false;
    hide();
    QWidget::leaveEvent(pEvent);
}

}  // namespace QMWidgets
