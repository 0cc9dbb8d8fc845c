#pragma once
// Shared pieces of the window tests: the scripted prompter installed for the test's lifetime, a
// modal hook that hands each modal dialog to the test, and an error presenter that records.

#include "ui/common/ErrorReporting.h"
#include "ui/common/ScriptedPrompter.h"
#include "ui/common/Windows.h"

#include <QDialog>
#include <functional>

namespace gz::test {

struct UiFixture {
    ui::ScriptedPrompter prompter;
    QList<ui::ReportedError> errors;
    QStringList dialogs; // class names of the modal dialogs run, in order

    explicit UiFixture(std::function<int(QDialog*)> drive = {}) {
        ui::setPrompter(&prompter);
        ui::setErrorPresenter([this](const ui::ReportedError& e) { errors << e; });
        ui::setModalHook([this, drive](QDialog* d) {
            dialogs << QString::fromLatin1(d->metaObject()->className());
            if (drive) return drive(d);
            d->reject();
            return int(QDialog::Rejected);
        });
    }
    ~UiFixture() {
        ui::setPrompter(nullptr);
        ui::setErrorPresenter({});
        ui::setModalHook({});
    }
    int count(const QString& className) const { return int(dialogs.count(className)); }
};

} // namespace gz::test
