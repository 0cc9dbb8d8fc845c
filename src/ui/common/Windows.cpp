#include "ui/common/Windows.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace gz::ui {

namespace {
ModalHook& hook() {
    static ModalHook h;
    return h;
}
} // namespace

QWidget* openChildWindow(QWidget* opener, QWidget* child, bool disableOpener) {
    // A disabled widget disables its children, windows included: the child must not belong to
    // the opener it disables.
    if (child->parentWidget()) child->setParent(nullptr);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowFlag(Qt::Window);
    if (opener) {
        QPointer<QWidget> o(opener);
        QObject::connect(child, &QObject::destroyed, opener, [o] {
            if (o) {
                o->setEnabled(true);
                o->activateWindow();
            }
        });
        if (disableOpener) opener->setEnabled(false);
    }
    child->show();
    child->raise();
    child->activateWindow();
    return child;
}

int execModal(QDialog* dialog) {
    if (hook()) return hook()(dialog);
    return dialog->exec();
}

void setModalHook(ModalHook h) {
    hook() = std::move(h);
}

void centreOver(QWidget* window, QWidget* over) {
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (QScreen* s = QGuiApplication::primaryScreen())
        area = s->availableGeometry();
    if (area.isEmpty()) return;
    const QSize size =
        window->frameGeometry().size().isEmpty() ? window->sizeHint() : window->frameGeometry().size();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

} // namespace gz::ui
