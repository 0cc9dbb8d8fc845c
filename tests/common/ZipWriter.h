#pragma once
// Writes a small zip archive for tests (workbooks made by hand): entries deflated with zlib, or
// stored when `store` is set.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <utility>
#include <vector>
#include <zlib.h>

namespace gz::test {

inline bool writeZip(const QString& path, const std::vector<std::pair<QString, QByteArray>>& entries,
                     bool store = false) {
    QByteArray out, directory;
    auto put16 = [](QByteArray& b, quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); };
    auto put32 = [&](QByteArray& b, quint32 v) {
        put16(b, quint16(v & 0xffff));
        put16(b, quint16(v >> 16));
    };
    for (const auto& [name, data] : entries) {
        const QByteArray n = name.toUtf8();
        const quint32 crc = crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
        QByteArray body = data;
        if (!store) {
            body.resize(qsizetype(compressBound(uLong(data.size()))) + 16);
            z_stream zs{};
            deflateInit2(&zs, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
            zs.avail_in = uInt(data.size());
            zs.next_out = reinterpret_cast<Bytef*>(body.data());
            zs.avail_out = uInt(body.size());
            deflate(&zs, Z_FINISH);
            body.resize(qsizetype(zs.total_out));
            deflateEnd(&zs);
        }
        const quint32 offset = quint32(out.size());
        const quint16 method = store ? 0 : 8;
        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, 0x0800); // names in UTF-8
        put16(out, method);
        put32(out, 0);
        put32(out, crc);
        put32(out, quint32(body.size()));
        put32(out, quint32(data.size()));
        put16(out, quint16(n.size()));
        put16(out, 0);
        out += n + body;
        put32(directory, 0x02014b50);
        put16(directory, 20);
        put16(directory, 20);
        put16(directory, 0x0800);
        put16(directory, method);
        put32(directory, 0);
        put32(directory, crc);
        put32(directory, quint32(body.size()));
        put32(directory, quint32(data.size()));
        put16(directory, quint16(n.size()));
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put16(directory, 0);
        put32(directory, 0);
        put32(directory, offset);
        directory += n;
    }
    const quint32 dirOffset = quint32(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(entries.size()));
    put16(out, quint16(entries.size()));
    put32(out, quint32(directory.size()));
    put32(out, dirOffset);
    put16(out, 0);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}

} // namespace gz::test
