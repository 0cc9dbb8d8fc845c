#pragma once
// The shipped templates and the folders they live in: report/ holds the working templates that
// every print and design command uses, report0/ the factory copies that only the restore
// commands read.

#include <QString>
#include <QStringList>

namespace gz {
class ProgramFolder;
}

namespace gz::report {

// The file names of the nine templates the system prints from.
QStringList factoryTemplateNames();
// The shipped text of one of them (empty when the name is not one of ours).
QByteArray factoryTemplate(const QString& fileName);

// Writes the shipped templates into report0/ (always: they are the factory copies) and into
// report/ where a file of that name is missing; a working template is never overwritten.
// Returns the files written; raises the file error when a folder or file cannot be written.
QStringList installFactoryTemplates(const ProgramFolder& folder);

// The working template's path: the program folder's report/ plus the file name.
QString templatePath(const ProgramFolder& folder, const QString& fileName);

namespace msg {
inline QString restoreQuestion() {
    return QStringLiteral("是否恢复默认报表?");
}
inline QString restoreDone() {
    return QStringLiteral("默认报表恢复完毕！ ");
}
inline QString restoreFailed() {
    return QStringLiteral("请检查本系统的默认报表是否存在！ ");
}
} // namespace msg

// Copies report0/fileName over report/fileName. The copy goes through a temporary file that is
// renamed into place, so when anything fails (the factory copy missing, a write error) the
// working template stays as it was. Returns the message to show: msg::restoreDone() or
// msg::restoreFailed().
QString restoreFactoryTemplate(const ProgramFolder& folder, const QString& fileName);
bool restoreSucceeded(const QString& message);

} // namespace gz::report
