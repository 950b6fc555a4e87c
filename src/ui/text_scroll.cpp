#include "ui/text_scroll.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "ui/keys.h"
#include "ui/qt_text.h"

namespace morvath::ui {
namespace {

QColor FromGameColour(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

TextScrollWidget::TextScrollWidget(const QSize& size, QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(size);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click gives it the keyboard; Tab still goes from button to button.
    setFocusPolicy(Qt::ClickFocus);
    timer_.setTimerType(Qt::PreciseTimer);
    control_.SetClientSize(contentsRect().width(), contentsRect().height());
    control_.SetMeasure([this](const std::wstring& text) {
        const QFontMetrics fm = fontMetrics();
        return TextExtent{fm.horizontalAdvance(Q(text)), fm.height()};
    });
    control_.ScrollFinished = [this] { emit ScrollFinished(); };
    connect(&timer_, &QTimer::timeout, this, [this] {
        control_.Timer1_Timer();
        SyncTimer();
        update(contentsRect());
    });
}

void TextScrollWidget::SetText(const QString& text) {
    control_.SetText(W(text));
    update();
}

void TextScrollWidget::StartScroll() {
    control_.StartScroll();
    SyncTimer();
    update();
}

void TextScrollWidget::StopScroll() {
    control_.StopScroll();
    SyncTimer();
    update();
}

void TextScrollWidget::SyncTimer() {
    if (!control_.IsScrolling()) {
        timer_.stop();
    } else if (!timer_.isActive() || timer_.interval() != control_.ScrollSpeed) {
        timer_.start(std::max<int>(1, control_.ScrollSpeed));
    }
}

void TextScrollWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) control_.FontChanged();
    QFrame::changeEvent(event);
}

void TextScrollWidget::resizeEvent(QResizeEvent* event) {
    // The inner size follows the border a style sheet may give; the next rendering uses it.
    control_.SetClientSize(contentsRect().width(), contentsRect().height());
    QFrame::resizeEvent(event);
}

namespace {

int ButtonsOf(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) | (buttons & Qt::MiddleButton ? 4 : 0);
}

}  // namespace

// The events go on to the window holding the control as well: Esc on the About panel still
// closes it.
void TextScrollWidget::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(KeyCodeOf(*event), ShiftOf(event->modifiers()));
    if (!event->text().isEmpty()) emit KeyPress(event->text().at(0).unicode());
    QFrame::keyPressEvent(event);
}

void TextScrollWidget::keyReleaseEvent(QKeyEvent* event) {
    emit KeyUp(KeyCodeOf(*event), ShiftOf(event->modifiers()));
    QFrame::keyReleaseEvent(event);
}

void TextScrollWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseDown(ButtonsOf(event->button()), ShiftOf(event->modifiers()), at.x(), at.y());
    QFrame::mousePressEvent(event);
}

void TextScrollWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseMove(ButtonsOf(event->buttons()), ShiftOf(event->modifiers()), at.x(), at.y());
    QFrame::mouseMoveEvent(event);
}

void TextScrollWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseUp(ButtonsOf(event->button()), ShiftOf(event->modifiers()), at.x(), at.y());
    // The second release of a double click is no click of its own.
    if (rect().contains(at) && !doubleClicked_) emit Click();
    doubleClicked_ = false;
    QFrame::mouseReleaseEvent(event);
}

void TextScrollWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // In place of a second press: down, up, click, double click, up.
    doubleClicked_ = true;
    emit DblClick();
    event->accept();
}

void TextScrollWidget::RenderPicture() {
    rendered_ = control_.RenderCount();
    const qreal ratio = devicePixelRatioF();
    picture_ = QPixmap(QSize(control_.PictureWidth(), control_.PictureHeight()) * ratio);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(FromGameColour(control_.BackColor));
    QPainter p(&picture_);
    p.setFont(font());
    const int ascent = QFontMetrics(font()).ascent();
    const QColor shadow = FromGameColour(control_.ShadowColor());
    const QColor text = FromGameColour(control_.FontColor());
    for (const PrintedText& print : control_.Prints()) {
        p.setPen(print.shadow ? shadow : text);
        p.drawText(print.x, print.y + ascent, Q(print.text));
    }
}

void TextScrollWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect inner = contentsRect();
    QPainter p(this);
    p.setClipRect(inner);
    p.fillRect(inner, FromGameColour(control_.BackColor));
    if (!control_.HasPicture()) return;
    if (rendered_ != control_.RenderCount() || picture_.isNull()) RenderPicture();
    // Only the picture changes hands each tick: one copy, never a new layout.
    p.drawPixmap(inner.topLeft() + QPoint(control_.PictureLeft(), control_.PictureTop()), picture_);
}

}  // namespace morvath::ui
