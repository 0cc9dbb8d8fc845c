#pragma once
// Pieces of the main window's navigation: pictures with a plain and a highlighted face, text
// lines that turn red under the mouse, and the background area with its picture.

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

namespace gz::ui {

// An icon drawn from one of our SVG files (straight through the SVG renderer, which is quicker at
// start than letting QIcon look for an image plugin).
QIcon svgIcon(const QString& path, int size = 32);

// A picture with a caption. Moving the mouse onto it shows the highlighted face with a hand
// cursor; only the highlighted face reacts to a click.
class HoverPicture : public QWidget {
    Q_OBJECT
public:
    HoverPicture(const QString& svg, const QString& caption, int size, QWidget* parent = nullptr);
    bool highlighted() const { return hot_; }
    void setHighlighted(bool on);
    // The tab-style mark of the chosen group selector.
    void setMarked(bool on);
    bool marked() const { return marked_; }
    QString caption() const { return caption_; }
    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QString svg_;
    QPixmap plain_, hot_face_;
    QString caption_;
    int size_;
    bool hot_ = false;
    bool marked_ = false;
};

// A text line of a group panel's strip: red while the mouse is on it.
class TextLine : public QLabel {
    Q_OBJECT
public:
    explicit TextLine(const QString& text, QWidget* parent = nullptr);
    bool isRed() const { return red_; }
    void setRed(bool on);

protected:
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool red_ = false;
};

// The right area: the background picture stretched over it (a soft gradient when none is set).
class BackgroundArea : public QWidget {
    Q_OBJECT
public:
    explicit BackgroundArea(QWidget* parent = nullptr);
    // Loads a picture file; false (and the picture unchanged) when it cannot be read.
    bool loadPicture(const QString& file);
    bool hasPicture() const { return !picture_.isNull(); }
    QString pictureFile() const { return file_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap picture_;
    QString file_;
};

} // namespace gz::ui
