#pragma once
// A Prompter for tests and scripted runs: records every text shown and answers from a queue.
// Answers are texts: "ok"/"yes" (or "1") accept a question, anything else declines it; an input
// prompt takes the text itself ("<cancel>" cancels); a date picker reads yyyy-MM-dd. With the
// queue empty, questions are accepted and prompts and pickers cancelled.

#include "ui/common/Prompter.h"

#include <QList>

namespace gz::ui {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString
            kind; // message, okCancel, yesNo, yesNoCancel, input, masked, openFile, saveFile, folder, date
        QString caption;
        QString text;
        Icon icon = Icon::Information;
    };

    ScriptedPrompter() = default;
    explicit ScriptedPrompter(QStringList answers) : answers_(std::move(answers)) {}

    void answer(const QString& a) { answers_ << a; }
    void answer(const QStringList& a) { answers_ << a; }
    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    bool sawText(const QString& text) const { return texts().contains(text); }
    void clear() { shown_.clear(); }
    int pendingAnswers() const { return int(answers_.size()); }
    // Also appends every shown text as one line "kind|caption|text" to this file.
    void setLogFile(const QString& path) { logFile_ = path; }

    void message(QWidget* parent, const QString& text, Icon icon, const QString& caption) override;
    bool okCancel(QWidget* parent, const QString& text, const QString& caption) override;
    bool yesNo(QWidget* parent, const QString& text, const QString& caption) override;
    int yesNoCancel(QWidget* parent, const QString& text, const QString& caption) override;
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& defaultText) override;
    QString maskedInput(QWidget* parent, const QString& caption, const QString& prompt) override;
    QString openFile(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) override;
    QString saveFile(QWidget* parent, const QString& caption, const QString& dir,
                     const QString& filter) override;
    QString pickFolder(QWidget* parent, const QString& caption, const QString& dir) override;
    std::optional<QDate> pickDate(QWidget* parent, const QDate& start) override;

private:
    void record(const QString& kind, const QString& caption, const QString& text,
                Icon icon = Icon::Information);
    std::optional<QString> next();
    bool accepted();

    QStringList answers_;
    QList<Shown> shown_;
    QString logFile_;
};

// When the environment names a script (GZ_PROMPTER_SCRIPT: a file of answers, one a line), installs
// a ScriptedPrompter that answers from it and logs to the same name + ".shown". For driving the
// program from tests and tools without a screen. Returns whether it did.
bool installScriptedPrompterFromEnvironment();

} // namespace gz::ui
