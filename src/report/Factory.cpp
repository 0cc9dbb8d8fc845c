#include "report/Factory.h"

#include "core/data/Errors.h"
#include "core/session/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

static void initReportResources() {
    Q_INIT_RESOURCE(report0);
}

namespace gz::report {

QStringList factoryTemplateNames() {
    return {QStringLiteral("gzb.rmf"),     QStringLiteral("gzbs.rmf"),       QStringLiteral("gzbf.rmf"),
            QStringLiteral("gzbt.rmf"),    QStringLiteral("jjtotal.rmf"),    QStringLiteral("jftotal.rmf"),
            QStringLiteral("jstotal.rmf"), QStringLiteral("jjgzdetail.rmf"), QStringLiteral("employee.rmf")};
}

QByteArray factoryTemplate(const QString& fileName) {
    static const bool once = (initReportResources(), true);
    (void)once;
    if (!factoryTemplateNames().contains(fileName)) return {};
    QFile f(QStringLiteral(":/report0/") + fileName);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QString templatePath(const ProgramFolder& folder, const QString& fileName) {
    return QDir(folder.reportDir()).filePath(fileName);
}

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
}

} // namespace

QStringList installFactoryTemplates(const ProgramFolder& folder) {
    QStringList written;
    for (const QString& dir : {folder.factoryReportDir(), folder.reportDir()})
        if (!QDir().mkpath(dir))
            throw fileError(QStringLiteral("文件夹 %1 无法建立").arg(QDir::toNativeSeparators(dir)));
    for (const QString& name : factoryTemplateNames()) {
        const QByteArray bytes = factoryTemplate(name);
        if (bytes.isEmpty()) continue;
        // The factory copies always hold the shipped text, but an unchanged copy is left alone: the
        // program runs this at every start, and rewriting nine files each time costs the disk.
        const QString factory = QDir(folder.factoryReportDir()).filePath(name);
        QFile current(factory);
        if (!current.open(QIODevice::ReadOnly) || current.readAll() != bytes) {
            current.close();
            writeFile(factory, bytes);
            written << factory;
        }
        const QString working = QDir(folder.reportDir()).filePath(name);
        if (!QFileInfo::exists(working)) {
            writeFile(working, bytes);
            written << working;
        }
    }
    return written;
}

QString restoreFactoryTemplate(const ProgramFolder& folder, const QString& fileName) {
    // Only a plain file name: a restore never reaches outside the two folders.
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\') ||
        fileName.startsWith(u'.'))
        return msg::restoreFailed();
    QFile source(QDir(folder.factoryReportDir()).filePath(fileName));
    if (!source.open(QIODevice::ReadOnly)) return msg::restoreFailed();
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return msg::restoreFailed();
    if (!QDir().mkpath(folder.reportDir())) return msg::restoreFailed();
    QSaveFile target(QDir(folder.reportDir()).filePath(fileName));
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
        return msg::restoreFailed();
    return msg::restoreDone();
}

bool restoreSucceeded(const QString& message) {
    return message == msg::restoreDone();
}

} // namespace gz::report
