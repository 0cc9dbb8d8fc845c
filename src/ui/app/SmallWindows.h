#pragma once
// The splash, quick-start, help, about and calculator windows of the main window.

#include <QDialog>
#include <QWidget>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTextBrowser;

namespace gz::ui {

// Borderless welcome picture; closes itself after 3 s. A click asks whether to show it at later
// starts; onNotAgain runs when the answer is No.
class SplashWindow : public QDialog {
    Q_OBJECT
public:
    explicit SplashWindow(std::function<void()> onNotAgain, QWidget* parent = nullptr);
    void pictureClicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    std::function<void()> onNotAgain_;
    bool asking_ = false;
};

// 如何开始: the quick-start guide; its check box is written at once through onHiddenChanged.
class QuickStartWindow : public QDialog {
    Q_OBJECT
public:
    QuickStartWindow(bool hidden, std::function<void(bool)> onHiddenChanged, QWidget* parent = nullptr);
    QCheckBox* checkBox() const { return check_; }
    QTextBrowser* text() const { return text_; }

private:
    QCheckBox* check_;
    QTextBrowser* text_;
};

// 使用说明: our HTML help.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

// 版权声明
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// A small desktop calculator, used when the desktop has none.
class CalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit CalculatorWindow(QWidget* parent = nullptr);
    void press(const QString& key); // "0"…"9", ".", "+", "-", "×", "÷", "=", "C", "±", "←"
    QString display() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void apply();
    QLineEdit* display_;
    double accumulator_ = 0;
    QString pending_;
    bool fresh_ = true;
};

// Starts the desktop's calculator (gnome-calculator, kcalc, galculator, mate-calc, xcalc) without
// waiting; false when none is installed.
bool startDesktopCalculator();

} // namespace gz::ui
