#pragma once
// Every question the program asks the user goes through one Prompter: message boxes, questions,
// input prompts, file, folder and date pickers. The Qt implementation shows real dialogs; tests
// install a scripted one that records every text shown and answers from a queue.

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace gz::ui {

class Prompter {
public:
    enum class Icon { Information, Warning, Error, Question };

    virtual ~Prompter() = default;

    // A message box with an OK button. The caption defaults to "提示！".
    virtual void message(QWidget* parent, const QString& text, Icon icon = Icon::Information,
                         const QString& caption = {}) = 0;
    // OK/Cancel question: true for OK.
    virtual bool okCancel(QWidget* parent, const QString& text, const QString& caption = {}) = 0;
    // Yes/No question: true for Yes.
    virtual bool yesNo(QWidget* parent, const QString& text, const QString& caption = {}) = 0;
    // Yes/No/Cancel question: 1 Yes, 0 No, -1 Cancel.
    virtual int yesNoCancel(QWidget* parent, const QString& text, const QString& caption = {}) = 0;
    // Plain input prompt; nullopt when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                         const QString& defaultText = {}) = 0;
    // Masked input (characters shown as "*"); cancelling gives an empty text.
    virtual QString maskedInput(QWidget* parent, const QString& caption, const QString& prompt) = 0;
    // File and folder pickers; an empty text when cancelled. filter as in QFileDialog ("PDF (*.pdf)").
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter) = 0;
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                             const QString& filter) = 0;
    virtual QString pickFolder(QWidget* parent, const QString& caption, const QString& dir) = 0;
    // The date picker; nullopt when cancelled.
    virtual std::optional<QDate> pickDate(QWidget* parent, const QDate& start) = 0;
};

// The program's prompter (the Qt one unless a test installed another).
Prompter& prompter();
// Installs a prompter (not owned); nullptr restores the Qt one.
void setPrompter(Prompter* p);

} // namespace gz::ui
