#pragma once
// Window discipline shared by every window: child windows that disable their opener while they
// are open, and modal dialogs run through one function that tests can take over.

#include <QPointer>
#include <functional>

class QDialog;
class QWidget;

namespace gz::ui {

// Shows `child` as a top-level window (not modally). When disableOpener is set the opener is
// disabled while the child is open; either way the opener is re-enabled and the child freed when
// it closes. Returns the child.
QWidget* openChildWindow(QWidget* opener, QWidget* child, bool disableOpener = true);

// Runs a modal dialog and returns its result (QDialog::Accepted/Rejected). Tests install a hook
// that drives the dialog instead of waiting for a user.
int execModal(QDialog* dialog);
using ModalHook = std::function<int(QDialog*)>;
void setModalHook(ModalHook hook); // an empty hook restores exec()

// Centres a window over another one (or the screen when `over` is null).
void centreOver(QWidget* window, QWidget* over);

} // namespace gz::ui
