#include "report/Prepared.h"

#include "core/data/Errors.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace gz::report {

namespace {
constexpr quint32 kMagic = 0x474a5250; // prepared report file
constexpr quint32 kVersion = 1;
} // namespace

void PreparedReport::save(const QString& path) const {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw fileError(
            QStringLiteral("文件 %1 无法写入: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    QDataStream s(&f);
    s.setVersion(QDataStream::Qt_6_0);
    s << kMagic << kVersion << title << static_cast<quint32>(pages.size());
    for (const PreparedPage& p : pages) {
        s << p.width << p.height << static_cast<quint32>(p.items.size());
        for (const PageItem& it : p.items) {
            s << static_cast<qint32>(it.type) << it.rect << it.text << it.fontFamily << it.fontSize << it.bold
              << it.italic << static_cast<qint32>(it.align) << static_cast<qint32>(it.valign) << it.wrap
              << it.color << it.fill << static_cast<qint32>(it.frame) << it.lineWidth
              << static_cast<qint32>(it.lineStyle) << it.hasNumber << it.number
              << static_cast<qint32>(it.decimals) << it.thousands << it.image
              << static_cast<quint32>(it.bars.size());
            for (const QRectF& b : it.bars)
                s << b;
        }
    }
    if (s.status() != QDataStream::Ok || !f.commit())
        throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
}

PreparedReport PreparedReport::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw fileError(
            QStringLiteral("文件 %1 无法打开: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    QDataStream s(&f);
    s.setVersion(QDataStream::Qt_6_0);
    quint32 magic = 0, version = 0, pageCount = 0;
    PreparedReport r;
    s >> magic >> version;
    if (magic != kMagic || version > kVersion)
        throw conversionError(
            QStringLiteral("文件 %1 不是本系统保存的报表").arg(QDir::toNativeSeparators(path)));
    s >> r.title >> pageCount;
    for (quint32 n = 0; n < pageCount && s.status() == QDataStream::Ok; ++n) {
        PreparedPage p;
        quint32 items = 0;
        s >> p.width >> p.height >> items;
        for (quint32 i = 0; i < items && s.status() == QDataStream::Ok; ++i) {
            PageItem it;
            qint32 type = 0, align = 0, valign = 0, frame = 0, style = 0, decimals = 0;
            quint32 bars = 0;
            s >> type >> it.rect >> it.text >> it.fontFamily >> it.fontSize >> it.bold >> it.italic >>
                align >> valign >> it.wrap >> it.color >> it.fill >> frame >> it.lineWidth >> style >>
                it.hasNumber >> it.number >> decimals >> it.thousands >> it.image >> bars;
            it.type = static_cast<PageItem::Type>(type);
            it.align = align;
            it.valign = valign;
            it.frame = frame;
            it.lineStyle = style;
            it.decimals = decimals;
            for (quint32 b = 0; b < bars && s.status() == QDataStream::Ok; ++b) {
                QRectF rb;
                s >> rb;
                it.bars.push_back(rb);
            }
            p.items.push_back(std::move(it));
        }
        r.pages.push_back(std::move(p));
    }
    if (s.status() != QDataStream::Ok)
        throw conversionError(QStringLiteral("文件 %1 已损坏").arg(QDir::toNativeSeparators(path)));
    return r;
}

} // namespace gz::report
