// The floor of the start-up measurement: a Qt program that shows one window and says so.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel w(QStringLiteral("登录验证"));
    w.resize(350, 224);
    w.show();
    QTimer::singleShot(0, [] {
        std::printf("login-shown\n");
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}
