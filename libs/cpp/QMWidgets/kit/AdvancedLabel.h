#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace QMWidgets {

// A clickable picture with an optional caption at the top. The picture
// fills the label inside the margin (its aspect ratio not kept) and is
// brightened while the pointer is over it.
class AdvancedLabel : public QWidget
{
    Q_OBJECT

public:
    explicit AdvancedLabel(QWidget* pParent = nullptr);

    void setText(const QString& strText);
    void setPixmap(const QPixmap& pixmap);
    void setMargin(int nMargin);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    QString m_strText;
    QPixmap m_pixmap;
    int m_nMargin = 0;
    bool m_bHovered = false;
};

} // namespace QMWidgets
