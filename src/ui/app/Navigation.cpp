#include "ui/app/Navigation.h"

#include <QApplication>
#include <QPalette>

#include <QEnterEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <algorithm>

namespace gz::ui {

namespace {
QPixmap renderFace(const QString& svg, int size, bool hot) {
    const qreal dpr = 2.0;
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer r(svg);
    const qreal inset = hot ? 0 : size * 0.06;
    r.render(&p, QRectF(inset, inset, size - 2 * inset, size - 2 * inset));
    if (hot) { // a light glaze and a ring make the highlighted face
        p.setPen(QPen(QColor(255, 200, 40), 2.5));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), size * 0.2, size * 0.2);
    }
    return pm;
}
} // namespace

QIcon svgIcon(const QString& path, int size) {
    return QIcon(renderFace(path, size, false));
}

HoverPicture::HoverPicture(const QString& svg, const QString& caption, int size, QWidget* parent)
    : QWidget(parent), svg_(svg), caption_(caption), size_(size) {
    setAttribute(Qt::WA_Hover);
    setToolTip(caption);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize HoverPicture::sizeHint() const {
    const int w = std::max(size_ + 16, fontMetrics().horizontalAdvance(caption_) + 12);
    return {w, size_ + fontMetrics().height() + 14};
}

void HoverPicture::setHighlighted(bool on) {
    if (hot_ == on) return;
    hot_ = on;
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    update();
}

void HoverPicture::setMarked(bool on) {
    marked_ = on;
    update();
}

void HoverPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (marked_) { // tab style: a raised card joined to the right edge
        QPainterPath path;
        path.addRoundedRect(QRectF(2, 1, width() + 8, height() - 2), 8, 8);
        p.fillPath(path, QColor(255, 255, 255, 230));
        p.setPen(QColor(120, 150, 190));
        p.drawPath(path);
    }
    if (plain_.isNull()) { // drawn when first needed, so that building the window stays quick
        plain_ = renderFace(svg_, size_, false);
        hot_face_ = renderFace(svg_, size_, true);
    }
    const int x = (width() - size_) / 2;
    p.drawPixmap(x, 4, hot_ ? hot_face_ : plain_);
    p.setPen(hot_ ? QColor(0, 70, 160) : palette().color(QPalette::WindowText));
    p.drawText(QRect(0, size_ + 6, width(), fontMetrics().height() + 4), Qt::AlignHCenter | Qt::AlignTop,
               caption_);
}

void HoverPicture::enterEvent(QEnterEvent* e) {
    setHighlighted(true);
    QWidget::enterEvent(e);
}

void HoverPicture::leaveEvent(QEvent* e) {
    setHighlighted(false);
    QWidget::leaveEvent(e);
}

void HoverPicture::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && hot_) emit clicked();
}

TextLine::TextLine(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAttribute(Qt::WA_Hover);
}

void TextLine::setRed(bool on) {
    red_ = on;
    // A palette, not a style sheet: style sheets make every widget they touch slow to create.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText,
                 on ? QColor(Qt::red) : QApplication::palette(this).color(QPalette::WindowText));
    setPalette(pal);
}

void TextLine::enterEvent(QEnterEvent* e) {
    setRed(true);
    QLabel::enterEvent(e);
}

void TextLine::leaveEvent(QEvent* e) {
    setRed(false);
    QLabel::leaveEvent(e);
}

BackgroundArea::BackgroundArea(QWidget* parent) : QWidget(parent) {
    setToolTip(QStringLiteral("右击设置背景图片"));
}

bool BackgroundArea::loadPicture(const QString& file) {
    QPixmap pm(file);
    if (pm.isNull()) return false;
    picture_ = pm;
    file_ = file;
    update();
    return true;
}

void BackgroundArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!picture_.isNull()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), picture_);
        return;
    }
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(225, 236, 248));
    g.setColorAt(1, QColor(196, 216, 238));
    p.fillRect(rect(), g);
}

} // namespace gz::ui
