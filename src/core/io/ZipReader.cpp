#include "core/io/ZipReader.h"

#include "core/data/Errors.h"

#include <QDir>
#include <QFile>
#include <zlib.h>

namespace gz {

namespace {

quint16 u16(const QByteArray& d, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(d.constData()) + at;
    return quint16(p[0] | (p[1] << 8));
}

quint32 u32(const QByteArray& d, qsizetype at) {
    const auto* p = reinterpret_cast<const uchar*>(d.constData()) + at;
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr quint32 kLocalHeader = 0x04034b50;
constexpr qsizetype kMaxFile = 256 * 1024 * 1024;

} // namespace

ZipReader::ZipReader(const QString& path) : path_(path) {
    const QString native = QDir::toNativeSeparators(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw fileError(QStringLiteral("无法打开文件 %1").arg(native));
    if (f.size() > kMaxFile) throw fileError(QStringLiteral("文件 %1 太大").arg(native));
    data_ = f.readAll();
    auto bad = [&] { return fileError(QStringLiteral("%1 不是有效的 XLSX 文件").arg(native)); };
    // The end-of-directory record sits in the last 22 bytes plus a comment of up to 64 KiB.
    qsizetype eocd = -1;
    for (qsizetype i = data_.size() - 22; i >= 0 && i >= data_.size() - 22 - 65535; --i)
        if (u32(data_, i) == kEndOfDirectory) {
            eocd = i;
            break;
        }
    if (eocd < 0) throw bad();
    const quint16 count = u16(data_, eocd + 10);
    qsizetype at = u32(data_, eocd + 16);
    for (int n = 0; n < count; ++n) {
        if (at + 46 > data_.size() || u32(data_, at) != kDirectoryEntry) throw bad();
        Entry e;
        e.method = u16(data_, at + 10);
        e.compressed = u32(data_, at + 20);
        e.size = u32(data_, at + 24);
        const quint16 nameLen = u16(data_, at + 28);
        const quint16 extraLen = u16(data_, at + 30);
        const quint16 commentLen = u16(data_, at + 32);
        e.localOffset = u32(data_, at + 42);
        if (at + 46 + nameLen > data_.size()) throw bad();
        e.name = QString::fromUtf8(data_.constData() + at + 46, nameLen);
        entries_.push_back(e);
        at += 46 + nameLen + extraLen + commentLen;
    }
}

std::optional<QByteArray> ZipReader::read(const QString& name) const {
    for (const Entry& e : entries_) {
        if (e.name != name) continue;
        auto damaged = [&] {
            return fileError(QStringLiteral("%1 中的 %2 已损坏").arg(QDir::toNativeSeparators(path_), name));
        };
        const qsizetype at = e.localOffset;
        if (at + 30 > data_.size() || u32(data_, at) != kLocalHeader) throw damaged();
        const qsizetype start = at + 30 + u16(data_, at + 26) + u16(data_, at + 28);
        if (start + qsizetype(e.compressed) > data_.size() || e.size > kMaxFile) throw damaged();
        if (e.method == 0) return data_.mid(start, e.compressed);
        if (e.method != 8) throw damaged();
        QByteArray out(qsizetype(e.size), Qt::Uninitialized);
        z_stream zs{};
        if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) throw damaged();
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data_.constData() + start));
        zs.avail_in = e.compressed;
        zs.next_out = reinterpret_cast<Bytef*>(out.data());
        zs.avail_out = e.size;
        const int rc = inflate(&zs, Z_FINISH);
        const bool ok = rc == Z_STREAM_END && zs.total_out == e.size;
        inflateEnd(&zs);
        if (!ok) throw damaged();
        return out;
    }
    return std::nullopt;
}

} // namespace gz
