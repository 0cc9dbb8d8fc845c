#pragma once
// Copying a folder tree into another folder: files of the same name are replaced, other files in
// the target stay. Each file is written under a temporary name beside its target and renamed over
// it only when complete, so a failed copy never leaves a half-written file in place of a good one.

#include <QString>
#include <QStringList>

namespace gz {

struct FolderCopyResult {
    int files = 0;        // files copied
    QStringList failures; // "path: reason" for each file or folder that could not be copied
    bool ok() const { return failures.isEmpty(); }
};

// Copies every file and folder under `source` into `target` (created when missing). A missing
// source folder is reported as a failure. Copying goes on past a failing file so that the report
// names all of them.
FolderCopyResult copyFolderTree(const QString& source, const QString& target);

// As copyFolderTree, raising the file error (naming the failures) when anything failed.
int copyFolderTreeOrThrow(const QString& source, const QString& target);

} // namespace gz
