// HTML export: a plain file set, one file per page, every item placed where the printout has it,
// page headers and footers included, and links between the pages.

#include "report/Output.h"

#include "core/data/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace gz::report {

namespace {

QString mm(double v) {
    return QString::number(v, 'f', 2) + QStringLiteral("mm");
}

QString css(const QColor& c) {
    return c.name(QColor::HexRgb);
}

QString borderCss(const PageItem& it) {
    if (!it.frame) return {};
    const QString line = QStringLiteral("%1 %2 %3")
                             .arg(mm(it.lineWidth),
                                  it.lineStyle == 1   ? QStringLiteral("dashed")
                                  : it.lineStyle == 2 ? QStringLiteral("dotted")
                                                      : QStringLiteral("solid"),
                                  css(it.type == PageItem::Type::Text ? QColor(Qt::black) : it.color));
    QString s;
    if (it.frame & 1) s += QStringLiteral("border-left:%1;").arg(line);
    if (it.frame & 2) s += QStringLiteral("border-top:%1;").arg(line);
    if (it.frame & 4) s += QStringLiteral("border-right:%1;").arg(line);
    if (it.frame & 8) s += QStringLiteral("border-bottom:%1;").arg(line);
    return s;
}

QString box(const QRectF& r) {
    return QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
        .arg(mm(r.left()), mm(r.top()), mm(r.width()), mm(r.height()));
}

QImage barcodeImage(const PageItem& it) {
    const double dpm = 8;
    QImage img(std::max(1, qRound(it.rect.width() * dpm)), std::max(1, qRound(it.rect.height() * dpm)),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    for (const QRectF& b : it.bars)
        p.fillRect(QRectF(b.x() * dpm, b.y() * dpm, b.width() * dpm, b.height() * dpm), Qt::black);
    return img;
}

} // namespace

QStringList exportHtml(const PreparedReport& r, const QString& path) {
    QStringList written, pictures;
    const QFileInfo fi(path);
    const QString filesDirName = fi.completeBaseName() + QStringLiteral("_files");
    const QDir dir = fi.absoluteDir();
    const int pages = static_cast<int>(r.pages.size());
    auto pageName = [&](int n) { return QFileInfo(pageFileName(path, n)).fileName(); };
    int pictureNo = 0;
    for (int n = 1; n <= pages; ++n) {
        const PreparedPage& page = r.pages[static_cast<std::size_t>(n - 1)];
        QString h;
        h += QStringLiteral(
                 "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1 - %2/%3</title>\n")
                 .arg(r.title.toHtmlEscaped())
                 .arg(n)
                 .arg(pages);
        h += QStringLiteral("<style>\nbody{background:#e8e8e8;margin:0;padding:8px}\n"
                            ".nav{font-family:'MS Sans Serif',sans-serif;font-size:10pt;margin:4px 0}\n"
                            ".nav a{color:blue;margin-right:12px}\n"
                            ".page{position:relative;background:#fff;margin:0 auto 8px;overflow:hidden}\n"
                            ".page div,.page img{position:absolute;box-sizing:border-box}\n"
                            ".t{white-space:nowrap;overflow:hidden;display:flex;padding:0 0.6mm}\n"
                            ".w{white-space:normal;overflow:hidden;display:flex;padding:0 0.6mm}\n"
                            "</style>\n</head>\n<body>\n");
        // Page links: first, next, previous, last.
        h += QStringLiteral("<div class=\"nav\">");
        h += QStringLiteral("<a href=\"%1\">第一页</a>").arg(pageName(1));
        h += QStringLiteral("<a href=\"%1\">下一页</a>").arg(pageName(std::min(n + 1, pages)));
        h += QStringLiteral("<a href=\"%1\">上一页</a>").arg(pageName(std::max(n - 1, 1)));
        h += QStringLiteral("<a href=\"%1\">最后页</a>").arg(pageName(pages));
        h += QStringLiteral("</div>\n");
        h += QStringLiteral("<div class=\"page\" style=\"width:%1;height:%2\">\n")
                 .arg(mm(page.width), mm(page.height));
        for (const PageItem& it : page.items) {
            switch (it.type) {
            case PageItem::Type::Text: {
                QString style = box(it.rect) + borderCss(it);
                style += QStringLiteral("font-family:'%1';font-size:%2pt;color:%3;")
                             .arg(it.fontFamily)
                             .arg(it.fontSize)
                             .arg(css(it.color));
                if (it.bold) style += QStringLiteral("font-weight:bold;");
                if (it.italic) style += QStringLiteral("font-style:italic;");
                if (it.fill.isValid()) style += QStringLiteral("background:%1;").arg(css(it.fill));
                style += QStringLiteral("justify-content:%1;align-items:%2;")
                             .arg(it.align == 1   ? QStringLiteral("center")
                                  : it.align == 2 ? QStringLiteral("flex-end")
                                                  : QStringLiteral("flex-start"),
                                  it.valign == 0   ? QStringLiteral("flex-start")
                                  : it.valign == 2 ? QStringLiteral("flex-end")
                                                   : QStringLiteral("center"));
                if (it.wrap && it.align == 1) style += QStringLiteral("text-align:center;");
                h += QStringLiteral("<div class=\"%1\" style=\"%2\">%3</div>\n")
                         .arg(it.wrap ? QStringLiteral("w") : QStringLiteral("t"), style,
                              it.text.toHtmlEscaped());
                break;
            }
            case PageItem::Type::Line: {
                const QRectF& r2 = it.rect;
                const QString style = it.lineStyle == 1   ? QStringLiteral("dashed")
                                      : it.lineStyle == 2 ? QStringLiteral("dotted")
                                                          : QStringLiteral("solid");
                if (qAbs(r2.height()) < qAbs(r2.width()))
                    h += QStringLiteral(
                             "<div style=\"left:%1;top:%2;width:%3;height:0;border-top:%4 %5 %6\"></div>\n")
                             .arg(mm(std::min(r2.left(), r2.right())), mm(r2.top()), mm(qAbs(r2.width())),
                                  mm(it.lineWidth), style, css(it.color));
                else
                    h += QStringLiteral(
                             "<div style=\"left:%1;top:%2;width:0;height:%3;border-left:%4 %5 %6\"></div>\n")
                             .arg(mm(r2.left()), mm(std::min(r2.top(), r2.bottom())), mm(qAbs(r2.height())),
                                  mm(it.lineWidth), style, css(it.color));
                break;
            }
            case PageItem::Type::Rect: {
                QString style = box(it.rect) + borderCss(it);
                if (it.fill.isValid()) style += QStringLiteral("background:%1;").arg(css(it.fill));
                h += QStringLiteral("<div style=\"%1\"></div>\n").arg(style);
                break;
            }
            case PageItem::Type::Picture:
            case PageItem::Type::Barcode: {
                const QImage img = it.type == PageItem::Type::Picture ? it.image : barcodeImage(it);
                if (img.isNull()) break;
                if (!dir.exists(filesDirName) && !dir.mkpath(filesDirName))
                    throw fileError(QStringLiteral("文件夹 %1 无法建立")
                                        .arg(QDir::toNativeSeparators(dir.filePath(filesDirName))));
                const QString rel = QStringLiteral("%1/p%2.jpg").arg(filesDirName).arg(++pictureNo);
                if (!img.save(dir.filePath(rel), "JPG", 92))
                    throw fileError(
                        QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(dir.filePath(rel))));
                pictures << dir.filePath(rel);
                h += QStringLiteral("<img src=\"%1\" alt=\"\" style=\"%2\">\n").arg(rel, box(it.rect));
                break;
            }
            }
        }
        h += QStringLiteral("</div>\n</body>\n</html>\n");
        const QString file = dir.filePath(pageName(n));
        QSaveFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(h.toUtf8()) < 0 || !f.commit())
            throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(file)));
        written << file;
    }
    return written + pictures;
}

} // namespace gz::report
