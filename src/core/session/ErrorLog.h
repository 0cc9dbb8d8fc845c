#pragma once
// The error log: one apperror row per error that reached the top (error dialog or command line).

#include "core/data/Errors.h"

#include <QDateTime>
#include <QString>

namespace gz {

class Database;

// Appends the row by column position (category, window caption, component, time, message). A
// caption that is empty is logged as "无标题". Returns false when the row could not be written
// (the connection is down, the file is read-only); the caller still shows the error.
bool logError(Database& db, ErrorKind kind, const QString& caption, const QString& component,
              const QString& message, const QDateTime& when = QDateTime::currentDateTime());

} // namespace gz
