#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPoint>

class QAction;
class QEventLoop;
class QMovie;
class QPushButton;
class QVBoxLayout;

namespace QMWidgets {

class IconLabel;
class TitleLabel;

// A frameless top-level window with a title bar of its own (icon, title,
// minimise, maximise, close) that drags the window, and a dialog-like exec:
// exec shows it modally and returns 1 after accept and 0 after reject (the
// close button, Escape, closing the window). Derived windows put their
// content into contentLayout. With the overlay layout the content sits in a
// child named "TopOverWidget" without margins; without it the content
// shares the window's own layout (margin 1) below the title.
class TopWidget : public QFrame
{
    Q_OBJECT

public:
    explicit TopWidget(bool bOverlay, QWidget* pParent = nullptr);
    ~TopWidget() override;

    // Returns 0 as well when the window is destroyed while it runs.
    int exec();
    QVBoxLayout* contentLayout() const;

    void setTitle(const QString& strTitle);
    void setTitleHeight(int nHeight);
    void hideCloseButton();
    void hideMaximizeButton();
    void hideMinimizeButton();
    void showCloseButton();
    void showMaximizeButton();
    void showMinimizeButton();
    void setIcon(const QPixmap& pixmap);
    // The title bar owns the widget from now on.
    void setTitleWidget(QWidget* pWidget, const QPoint& offset);
    void setTitlePixmap(const QPixmap& pixmap, const QPoint& offset);
    // The movie stays the caller's; the floating label takes the shape of
    // its first frame.
    void setTitleMovie(QMovie* pMovie, const QPoint& offset);

public slots:
    void accept();
    void reject();

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    QVBoxLayout* m_pContentLayout = nullptr;
    QPushButton* m_pCloseButton = nullptr;
    QPushButton* m_pMaximizeButton = nullptr;
    QPushButton* m_pMinimizeButton = nullptr;
    TitleLabel* m_pTitleLabel = nullptr;
    IconLabel* m_pIconLabel = nullptr;
    // The loop of a running exec. It lives on exec's stack, not in the
    // window, so that destroying the window during exec cannot pull the
    // running loop away.
    QEventLoop* m_pEventLoop = nullptr;
    QAction* m_pEscapeAction = nullptr;
};

} // namespace QMWidgets
