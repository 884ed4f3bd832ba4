// The window's painted controls: the picture, the shape and the labels, drawn by themselves.
#pragma once

#include "FormDesign.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QWidget>
#include <functional>

namespace quenlith::app::qt {

QFont FontOf(const design::TFontSpec& spec);

// Image1: the background picture at its own size from the top left corner.
class TPictureWidget final : public QWidget {
public:
    TPictureWidget(QWidget* parent, QPixmap picture);
    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onMove;
    std::function<void(QMouseEvent*)> onRelease;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPixmap picture_;
};

// Shape1: white rounded rectangle; it takes presses, so they do not reach the picture.
class TShapeWidget final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
};

// A label: one line from its top edge, left-aligned; transparent or opaque; a disabled one is
// drawn engraved and lets presses through to what lies below.
class TDesignLabel final : public QWidget {
public:
    TDesignLabel(QWidget* parent, const design::TControlSpec& spec);
    QString text() const { return text_; }
    std::function<void()> onEnter;
    std::function<void()> onLeave;
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString text_;
    bool transparent_;
    QColor color_;
};

} // namespace quenlith::app::qt
