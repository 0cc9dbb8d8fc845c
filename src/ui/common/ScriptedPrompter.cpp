#include "ui/common/ScriptedPrompter.h"

#include <QFile>
#include <QTextStream>

namespace gz::ui {

QStringList ScriptedPrompter::texts() const {
    QStringList out;
    for (const Shown& s : shown_)
        out << s.text;
    return out;
}

void ScriptedPrompter::record(const QString& kind, const QString& caption, const QString& text, Icon icon) {
    shown_.append({kind, caption, text, icon});
    if (logFile_.isEmpty()) return;
    QFile f(logFile_);
    if (f.open(QIODevice::Append | QIODevice::Text)) {
        QString line = kind + u'|' + caption + u'|' + text;
        line.replace(u'\r', u' ').replace(u'\n', u' ');
        f.write(line.toUtf8() + '\n');
    }
}

std::optional<QString> ScriptedPrompter::next() {
    if (answers_.isEmpty()) return std::nullopt;
    return answers_.takeFirst();
}

bool ScriptedPrompter::accepted() {
    const auto a = next();
    if (!a) return true;
    const QString t = a->trimmed().toLower();
    return t == QStringLiteral("ok") || t == QStringLiteral("yes") || t == QStringLiteral("1");
}

void ScriptedPrompter::message(QWidget*, const QString& text, Icon icon, const QString& caption) {
    record(QStringLiteral("message"), caption, text, icon);
}

bool ScriptedPrompter::okCancel(QWidget*, const QString& text, const QString& caption) {
    record(QStringLiteral("okCancel"), caption, text, Icon::Question);
    return accepted();
}

bool ScriptedPrompter::yesNo(QWidget*, const QString& text, const QString& caption) {
    record(QStringLiteral("yesNo"), caption, text, Icon::Question);
    return accepted();
}

int ScriptedPrompter::yesNoCancel(QWidget*, const QString& text, const QString& caption) {
    record(QStringLiteral("yesNoCancel"), caption, text, Icon::Question);
    const auto a = next();
    if (!a) return 1;
    const QString t = a->trimmed().toLower();
    if (t == QStringLiteral("yes") || t == QStringLiteral("ok") || t == QStringLiteral("1")) return 1;
    if (t == QStringLiteral("no") || t == QStringLiteral("0")) return 0;
    return -1;
}

std::optional<QString> ScriptedPrompter::input(QWidget*, const QString& caption, const QString& prompt,
                                               const QString&) {
    record(QStringLiteral("input"), caption, prompt);
    const auto a = next();
    if (!a || *a == QStringLiteral("<cancel>")) return std::nullopt;
    return *a;
}

QString ScriptedPrompter::maskedInput(QWidget*, const QString& caption, const QString& prompt) {
    record(QStringLiteral("masked"), caption, prompt);
    const auto a = next();
    if (!a || *a == QStringLiteral("<cancel>")) return QString();
    return *a;
}

QString ScriptedPrompter::openFile(QWidget*, const QString& caption, const QString&, const QString&) {
    record(QStringLiteral("openFile"), caption, QString());
    const auto a = next();
    return a && *a != QStringLiteral("<cancel>") ? *a : QString();
}

QString ScriptedPrompter::saveFile(QWidget*, const QString& caption, const QString&, const QString&) {
    record(QStringLiteral("saveFile"), caption, QString());
    const auto a = next();
    return a && *a != QStringLiteral("<cancel>") ? *a : QString();
}

QString ScriptedPrompter::pickFolder(QWidget*, const QString& caption, const QString&) {
    record(QStringLiteral("folder"), caption, QString());
    const auto a = next();
    return a && *a != QStringLiteral("<cancel>") ? *a : QString();
}

std::optional<QDate> ScriptedPrompter::pickDate(QWidget*, const QDate& start) {
    record(QStringLiteral("date"), QString(), start.toString(Qt::ISODate));
    const auto a = next();
    if (!a) return std::nullopt;
    const QDate d = QDate::fromString(*a, Qt::ISODate);
    if (!d.isValid()) return std::nullopt;
    return d;
}

bool installScriptedPrompterFromEnvironment() {
    const QString script = qEnvironmentVariable("GZ_PROMPTER_SCRIPT");
    if (script.isEmpty()) return false;
    QStringList answers;
    QFile f(script);
    if (f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&f);
        while (!in.atEnd())
            answers << in.readLine();
    }
    static ScriptedPrompter scripted;
    scripted = ScriptedPrompter(answers);
    scripted.setLogFile(script + QStringLiteral(".shown"));
    setPrompter(&scripted);
    return true;
}

} // namespace gz::ui
