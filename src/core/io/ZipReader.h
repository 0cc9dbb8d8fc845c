#pragma once
// Reads single entries of a zip archive (spreadsheet files are zip archives). Our own small reader
// over zlib: a general zip library in the same process clashes with the one the spreadsheet writer
// uses, as both export the same C symbols.

#include <QByteArray>
#include <QString>
#include <optional>

namespace gz {

class ZipReader {
public:
    // Reads the archive's directory; raises a file error naming the file when it is not a zip.
    explicit ZipReader(const QString& path);
    // The entry's uncompressed bytes; nullopt when there is no such entry. A damaged entry raises
    // the file error.
    std::optional<QByteArray> read(const QString& name) const;

private:
    struct Entry {
        QString name;
        quint16 method = 0;
        quint32 compressed = 0;
        quint32 size = 0;
        quint32 localOffset = 0;
    };
    QString path_;
    QByteArray data_;
    std::vector<Entry> entries_;
};

} // namespace gz
