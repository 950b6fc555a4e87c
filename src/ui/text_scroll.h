#pragma once
// The scrolling text control on screen: it draws the picture its rules lay out once per
// change into an off-screen pixmap, and on each timer tick paints that pixmap one pixel
// further along. The rules are in services/text_scroll.h.
#include <QFrame>
#include <QPixmap>
#include <QTimer>

#include "services/text_scroll.h"

namespace morvath::ui {

class TextScrollWidget : public QFrame {
    Q_OBJECT
public:
    // The control keeps the size it is given, as its picture is laid out for it.
    TextScrollWidget(const QSize& size, QWidget* parent = nullptr);

    slpTextScroll& Control() { return control_; }
    void SetText(const QString& text);
    void StartScroll();
    void StopScroll();
    bool IsScrolling() const { return control_.IsScrolling(); }

signals:
    void ScrollFinished();
    // What happens to the control, passed on to whoever hosts it: buttons 1 left, 2 right,
    // 4 middle; keys as the key map's codes with Shift 1, Ctrl 2, Alt 4; positions in pixels.
    void Click();
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // Runs the timer while the control scrolls, at its speed.
    void SyncTimer();
    void RenderPicture();

    slpTextScroll control_;
    QTimer timer_;
    QPixmap picture_;
    unsigned rendered_ = 0;
    bool doubleClicked_ = false;
};

}  // namespace morvath::ui
