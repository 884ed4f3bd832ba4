#include "PaintedControls.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quenlith::app::qt {

QFont FontOf(const design::TFontSpec& spec) {
    QFont font(QString::fromLatin1(spec.face.data(), static_cast<qsizetype>(spec.face.size())));
    font.setPixelSize(spec.pixelHeight); // pixel sizes: no scaling by the screen's DPI
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    return font;
}

TPictureWidget::TPictureWidget(QWidget* parent, QPixmap picture)
    : QWidget(parent), picture_(std::move(picture)) {}

void TPictureWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawPixmap(0, 0, picture_);
}

void TPictureWidget::mousePressEvent(QMouseEvent* event) {
    if (onPress) {
        onPress(event);
    }
}

void TPictureWidget::mouseMoveEvent(QMouseEvent* event) {
    if (onMove) {
        onMove(event);
    }
}

void TPictureWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (onRelease) {
        onRelease(event);
    }
}

void TShapeWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::white);
    const qreal radius = design::kShapeCornerDiameter / 2.0;
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

TDesignLabel::TDesignLabel(QWidget* parent, const design::TControlSpec& spec)
    : QWidget(parent),
      text_(QString::fromLatin1(spec.text.data(), static_cast<qsizetype>(spec.text.size()))),
      transparent_(spec.transparent), color_(QColor::fromRgb(spec.font.rgb)) {
    setFont(FontOf(spec.font));
    setEnabled(spec.enabled);
    // Labels size themselves to their text, from the design's top left corner.
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(text_) + (spec.enabled ? 0 : 1), metrics.height());
    if (!spec.enabled) {
        // A disabled label takes no mouse input: presses reach the picture below.
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void TDesignLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_) {
        painter.fillRect(rect(), Qt::white);
    }
    painter.setFont(font());
    const QRect area = rect();
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (isEnabled()) {
        painter.setPen(color_);
        painter.drawText(area, flags, text_);
        return;
    }
    // Engraved: highlight one pixel right and down, then shadow at the label's own place.
    painter.setPen(palette().color(QPalette::Active, QPalette::Light));
    painter.drawText(area.translated(1, 1), flags, text_);
    painter.setPen(palette().color(QPalette::Active, QPalette::Mid));
    painter.drawText(area, flags, text_);
}

void TDesignLabel::enterEvent(QEnterEvent*) {
    if (onEnter) {
        onEnter();
    }
}

void TDesignLabel::leaveEvent(QEvent*) {
    if (onLeave) {
        onLeave();
    }
}

void TDesignLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (onClick && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        onClick();
    }
}

} // namespace quenlith::app::qt
