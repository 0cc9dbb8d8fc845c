#include "report/Output.h"

#include "core/data/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace gz::report {

namespace {

Qt::PenStyle penStyle(int s) {
    return s == 1 ? Qt::DashLine : s == 2 ? Qt::DotLine : Qt::SolidLine;
}

QPen pen(const PageItem& it, double dpm) {
    QPen p(it.type == PageItem::Type::Text ? QColor(Qt::black) : it.color);
    p.setWidthF(std::max(1.0, it.lineWidth * dpm));
    p.setStyle(penStyle(it.lineStyle));
    p.setCapStyle(Qt::FlatCap);
    return p;
}

QRectF scaled(const QRectF& r, double dpm) {
    return QRectF(r.x() * dpm, r.y() * dpm, r.width() * dpm, r.height() * dpm);
}

void drawFrame(QPainter& p, const QRectF& r, int bits) {
    if (bits & 1) p.drawLine(r.topLeft(), r.bottomLeft());
    if (bits & 2) p.drawLine(r.topLeft(), r.topRight());
    if (bits & 4) p.drawLine(r.topRight(), r.bottomRight());
    if (bits & 8) p.drawLine(r.bottomLeft(), r.bottomRight());
}

} // namespace

void paintPage(QPainter& p, const PreparedPage& page, double dpm) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont font;
    QString lastFamily;
    double lastSize = -1;
    bool lastBold = false, lastItalic = false;
    const double pad = 0.6 * dpm; // text keeps off its frame
    for (const PageItem& it : page.items) {
        const QRectF r = scaled(it.rect, dpm);
        switch (it.type) {
        case PageItem::Type::Text: {
            if (it.fill.isValid()) p.fillRect(r, it.fill);
            if (it.frame) {
                p.setPen(pen(it, dpm));
                drawFrame(p, r, it.frame);
            }
            if (it.text.isEmpty()) break;
            if (it.fontFamily != lastFamily || it.fontSize != lastSize || it.bold != lastBold ||
                it.italic != lastItalic) {
                font = QFont(it.fontFamily);
                font.setPixelSize(std::max(1, qRound(it.fontSize * 25.4 / 72.0 * dpm)));
                font.setBold(it.bold);
                font.setItalic(it.italic);
                font.setStyleStrategy(QFont::PreferAntialias);
                p.setFont(font);
                lastFamily = it.fontFamily;
                lastSize = it.fontSize;
                lastBold = it.bold;
                lastItalic = it.italic;
            }
            p.setPen(it.color);
            int flags = it.align == 1 ? Qt::AlignHCenter : it.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
            flags |= it.valign == 0 ? Qt::AlignTop : it.valign == 2 ? Qt::AlignBottom : Qt::AlignVCenter;
            flags |= it.wrap ? Qt::TextWordWrap : Qt::TextSingleLine;
            const QRectF inner = r.adjusted(pad, 0, -pad, 0);
            if (it.wrap) {
                // Wrapped text stays inside its object.
                p.save();
                p.setClipRect(r);
                p.drawText(inner, flags, it.text);
                p.restore();
            } else {
                p.drawText(inner, flags, it.text);
            }
            break;
        }
        case PageItem::Type::Line:
            p.setPen(pen(it, dpm));
            p.drawLine(r.topLeft(), r.bottomRight());
            break;
        case PageItem::Type::Rect:
            if (it.fill.isValid()) p.fillRect(r, it.fill);
            p.setPen(pen(it, dpm));
            drawFrame(p, r, it.frame);
            break;
        case PageItem::Type::Picture:
            if (!it.image.isNull()) p.drawImage(r, it.image);
            if (it.frame) {
                p.setPen(pen(it, dpm));
                drawFrame(p, r, it.frame);
            }
            break;
        case PageItem::Type::Barcode:
            for (const QRectF& b : it.bars)
                p.fillRect(
                    QRectF(r.x() + b.x() * dpm, r.y() + b.y() * dpm, b.width() * dpm, b.height() * dpm),
                    Qt::black);
            break;
        }
    }
    p.restore();
}

QImage renderPage(const PreparedPage& page, double dpi) {
    const double dpm = dpi / 25.4;
    QImage img(qRound(page.width * dpm), qRound(page.height * dpm), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpm * 1000));
    img.setDotsPerMeterY(qRound(dpm * 1000));
    img.fill(Qt::white);
    QPainter p(&img);
    paintPage(p, page, dpm);
    p.end();
    return img;
}

QString pageFileName(const QString& path, int page) {
    if (page <= 1) return path;
    const QFileInfo fi(path);
    const QString suffix = fi.suffix();
    QString stem = path;
    if (!suffix.isEmpty()) stem.chop(suffix.size() + 1);
    return suffix.isEmpty() ? QStringLiteral("%1_%2").arg(stem).arg(page)
                            : QStringLiteral("%1_%2.%3").arg(stem).arg(page).arg(suffix);
}

QStringList exportPdf(const PreparedReport& r, const QString& path) {
    QPdfWriter w(path);
    w.setResolution(600);
    w.setTitle(r.title);
    w.setCreator(QStringLiteral("pkvgzgl"));
    const double dpm = 600 / 25.4;
    QPainter p;
    bool first = true;
    for (const PreparedPage& page : r.pages) {
        const QPageLayout layout(QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter),
                                 QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
        w.setPageLayout(layout);
        if (first) {
            if (!p.begin(&w))
                throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
            first = false;
        } else {
            w.newPage();
        }
        paintPage(p, page, dpm);
    }
    if (first && !p.begin(&w)) // no page at all: still a (blank) document
        throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
    p.end();
    if (!QFileInfo::exists(path) || QFileInfo(path).size() == 0)
        throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
    return {path};
}

QStringList exportImages(const PreparedReport& r, const QString& path, double dpi) {
    QStringList files;
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = suffix == QLatin1String("bmp")   ? "BMP"
                         : suffix == QLatin1String("png") ? "PNG"
                                                          : "JPG";
    for (int i = 0; i < static_cast<int>(r.pages.size()); ++i) {
        const QString name = pageFileName(path, i + 1);
        const QImage img = renderPage(r.pages[static_cast<std::size_t>(i)], dpi);
        if (!img.save(name, format, format[0] == 'J' ? 90 : -1))
            throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(name)));
        files << name;
    }
    return files;
}

void printReport(const PreparedReport& r, QPrinter& printer) {
    printer.setFullPage(true);
    int from = printer.fromPage(), to = printer.toPage();
    if (from <= 0) from = 1;
    if (to <= 0 || to > static_cast<int>(r.pages.size())) to = static_cast<int>(r.pages.size());
    QPainter p;
    bool first = true;
    for (int n = from; n <= to; ++n) {
        const PreparedPage& page = r.pages[static_cast<std::size_t>(n - 1)];
        const bool landscape = page.width > page.height;
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        if (first) {
            if (!p.begin(&printer))
                throw fileError(QStringLiteral("打印机 %1 无法打印").arg(printer.printerName()));
            first = false;
        } else {
            printer.newPage();
        }
        const double dpm = printer.resolution() / 25.4;
        paintPage(p, page, dpm);
    }
    if (!first) p.end();
}

QStringList exportByName(const PreparedReport& r, const QString& path) {
    const QString s = QFileInfo(path).suffix().toLower();
    if (s == QLatin1String("pdf")) return exportPdf(r, path);
    if (s == QLatin1String("xlsx")) return exportXlsx(r, path);
    if (s == QLatin1String("html") || s == QLatin1String("htm")) return exportHtml(r, path);
    if (s == QLatin1String("png") || s == QLatin1String("jpg") || s == QLatin1String("jpeg") ||
        s == QLatin1String("bmp"))
        return exportImages(r, path);
    throw conversionError(QStringLiteral("不认识的输出文件类型 \"%1\"（可用 pdf、xlsx、html、png、jpg、bmp）")
                              .arg(QFileInfo(path).fileName()));
}

} // namespace gz::report
