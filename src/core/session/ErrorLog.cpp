#include "core/session/ErrorLog.h"

#include "core/data/Database.h"

namespace gz {

bool logError(Database& db, ErrorKind kind, const QString& caption, const QString& component,
              const QString& message, const QDateTime& when) {
    try {
        const QString title = caption.isEmpty() ? QStringLiteral("无标题") : caption.left(255);
        db.exec(QStringLiteral("INSERT INTO apperror VALUES (:p1, :p2, :p3, :p4, :p5)"),
                {categoryText(kind), title, component.left(100),
                 when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), message});
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace gz
