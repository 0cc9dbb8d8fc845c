#include "core/maintenance/FolderCopy.h"

#include "core/data/Errors.h"

#include <QDir>
#include <filesystem>
#include <system_error>

namespace gz {

namespace {

namespace fs = std::filesystem;

fs::path toPath(const QString& s) {
    return fs::path(s.toStdU16String());
}

QString fromPath(const fs::path& p) {
    return QString::fromStdU16String(p.u16string());
}

QString reason(const std::error_code& ec) {
    return QString::fromLocal8Bit(ec.message().c_str());
}

// Copies one file through a temporary name in the target folder, then renames it into place
// (rename replaces the old file in one step).
bool copyOneFile(const fs::path& from, const fs::path& to, QStringList& failures) {
    std::error_code ec;
    fs::path tmp = to;
    tmp += ".gzcopy-part";
    fs::remove(tmp, ec);
    ec.clear();
    if (!fs::copy_file(from, tmp, fs::copy_options::overwrite_existing, ec)) {
        failures << QStringLiteral("%1: %2").arg(fromPath(from), reason(ec));
        fs::remove(tmp, ec);
        return false;
    }
    fs::rename(tmp, to, ec);
    if (ec) {
        failures << QStringLiteral("%1: %2").arg(fromPath(to), reason(ec));
        std::error_code ignore;
        fs::remove(tmp, ignore);
        return false;
    }
    return true;
}

} // namespace

FolderCopyResult copyFolderTree(const QString& source, const QString& target) {
    FolderCopyResult r;
    const fs::path src = toPath(source);
    const fs::path dst = toPath(target);
    std::error_code ec;
    if (!fs::is_directory(src, ec)) {
        r.failures << QStringLiteral("%1: 文件夹不存在").arg(QDir::toNativeSeparators(source));
        return r;
    }
    fs::create_directories(dst, ec);
    if (ec || !fs::is_directory(dst)) {
        r.failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(target),
                                                   ec ? reason(ec) : QStringLiteral("不是文件夹"));
        return r;
    }
    fs::recursive_directory_iterator it(src, fs::directory_options::none, ec);
    if (ec) {
        r.failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(source), reason(ec));
        return r;
    }
    const fs::recursive_directory_iterator end;
    while (it != end) {
        const fs::path from = it->path();
        const fs::path rel = fs::relative(from, src, ec);
        if (ec) {
            r.failures << QStringLiteral("%1: %2").arg(fromPath(from), reason(ec));
            ec.clear();
        } else if (it->is_directory(ec)) {
            fs::create_directories(dst / rel, ec);
            if (ec) {
                r.failures << QStringLiteral("%1: %2").arg(fromPath(dst / rel), reason(ec));
                ec.clear();
                it.disable_recursion_pending();
            }
        } else if (copyOneFile(from, dst / rel, r.failures)) {
            ++r.files;
        }
        ec.clear();
        it.increment(ec);
        if (ec) {
            r.failures << QStringLiteral("%1: %2").arg(fromPath(from), reason(ec));
            break;
        }
    }
    return r;
}

int copyFolderTreeOrThrow(const QString& source, const QString& target) {
    const FolderCopyResult r = copyFolderTree(source, target);
    if (!r.ok())
        throw fileError(QStringLiteral("复制文件夹 %1 到 %2 失败:\n%3")
                            .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                                 r.failures.join(u'\n')));
    return r.files;
}

} // namespace gz
