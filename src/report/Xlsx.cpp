// Spreadsheet export: one sheet for the whole report. Every text item becomes a cell, its column
// found from its left edge and its row from its top edge, page after page; numbers stay numbers,
// rounded to the decimals the printout shows, so sums in the sheet equal the printed totals.

#include "report/Output.h"

#include "core/data/Errors.h"

#include <QBuffer>
#include <QDir>
#include <QHash>
#include <QMap>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>
#include <xlsxwriter.h>

namespace gz::report {

namespace {

// Positions closer than this (mm) share a column or row.
constexpr double kSnap = 1.0;

std::vector<double> snapEdges(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    std::vector<double> out;
    for (double x : v)
        if (out.empty() || x - out.back() > kSnap) out.push_back(x);
    return out;
}

int indexOf(const std::vector<double>& edges, double x) {
    // The last edge at or before x (within the snap distance).
    auto it = std::upper_bound(edges.begin(), edges.end(), x + kSnap);
    return it == edges.begin() ? 0 : static_cast<int>(it - edges.begin()) - 1;
}

QString sheetName(const QString& title) {
    QString s = title;
    for (QChar c : QStringLiteral("[]:*?/\\"))
        s.remove(c);
    s = s.left(31).trimmed();
    return s.isEmpty() ? QStringLiteral("报表") : s;
}

struct FormatKey {
    int decimals;
    bool thousands;
    bool number;
    int align;
    bool bold;
    int frame;
    int size;
    QRgb color;
    bool wrap;
    bool operator<(const FormatKey& o) const {
        return std::tie(decimals, thousands, number, align, bold, frame, size, color, wrap) <
               std::tie(o.decimals, o.thousands, o.number, o.align, o.bold, o.frame, o.size, o.color, o.wrap);
    }
};

QByteArray imageBytes(const PageItem& it) {
    QImage img;
    if (it.type == PageItem::Type::Picture) {
        img = it.image;
    } else {
        const double dpm = 8; // about 200 dpi
        img = QImage(std::max(1, qRound(it.rect.width() * dpm)), std::max(1, qRound(it.rect.height() * dpm)),
                     QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        for (const QRectF& b : it.bars)
            p.fillRect(QRectF(b.x() * dpm, b.y() * dpm, b.width() * dpm, b.height() * dpm), Qt::black);
    }
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

} // namespace

QStringList exportXlsx(const PreparedReport& r, const QString& path) {
    const QByteArray file = QDir::toNativeSeparators(path).toUtf8();
    lxw_workbook* wb = workbook_new(file.constData());
    if (!wb) throw fileError(QStringLiteral("文件 %1 无法写入").arg(QDir::toNativeSeparators(path)));
    const QByteArray name = sheetName(r.title).toUtf8();
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.constData());

    // Columns from the left edges of all texts; rows from the tops, page by page.
    // Columns come from the framed cells of the report's tables when it has any, so that loose
    // texts (titles, page footers) do not split the table's columns; they go into the column at
    // or before their left edge.
    std::vector<double> xs, framed;
    for (const PreparedPage& p : r.pages)
        for (const PageItem& it : p.items)
            if (it.type != PageItem::Type::Line && it.type != PageItem::Type::Rect) {
                xs.push_back(it.rect.left());
                if (it.frame) framed.push_back(it.rect.left());
            }
    if (!framed.empty()) xs = framed;
    const std::vector<double> cols = snapEdges(xs);
    double right = 0;
    for (const PreparedPage& p : r.pages)
        right = std::max(right, p.width);
    for (std::size_t c = 0; c < cols.size(); ++c) {
        const double next = c + 1 < cols.size() ? cols[c + 1] : std::max(cols[c] + 20, right - 10);
        worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), (next - cols[c]) / 1.9,
                             nullptr);
    }

    std::map<FormatKey, lxw_format*> formats;
    auto formatFor = [&](const PageItem& it) {
        const FormatKey k{it.hasNumber ? it.decimals : -2,
                          it.thousands,
                          it.hasNumber,
                          it.align,
                          it.bold,
                          it.frame,
                          qRound(it.fontSize),
                          it.color.rgb(),
                          it.wrap};
        auto f = formats.find(k);
        if (f != formats.end()) return f->second;
        lxw_format* fmt = workbook_add_format(wb);
        if (it.hasNumber && it.decimals >= 0) {
            QString pic = it.thousands ? QStringLiteral("#,##0") : QStringLiteral("0");
            if (it.decimals > 0) pic += QLatin1Char('.') + QString(it.decimals, u'0');
            format_set_num_format(fmt, pic.toLatin1().constData());
        }
        format_set_align(fmt, it.align == 1   ? LXW_ALIGN_CENTER
                              : it.align == 2 ? LXW_ALIGN_RIGHT
                                              : LXW_ALIGN_LEFT);
        format_set_align(fmt, LXW_ALIGN_VERTICAL_CENTER);
        if (it.bold) format_set_bold(fmt);
        if (it.wrap) format_set_text_wrap(fmt);
        format_set_font_size(fmt, std::max(6.0, it.fontSize));
        format_set_font_name(fmt, "宋体");
        if (it.color != QColor(Qt::black)) format_set_font_color(fmt, it.color.rgb() & 0xffffff);
        if (it.frame & 1) format_set_left(fmt, LXW_BORDER_THIN);
        if (it.frame & 2) format_set_top(fmt, LXW_BORDER_THIN);
        if (it.frame & 4) format_set_right(fmt, LXW_BORDER_THIN);
        if (it.frame & 8) format_set_bottom(fmt, LXW_BORDER_THIN);
        formats.emplace(k, fmt);
        return fmt;
    };

    std::vector<QByteArray> keep; // image data must live until the workbook is closed
    int rowBase = 0;
    for (const PreparedPage& page : r.pages) {
        std::vector<double> ys;
        for (const PageItem& it : page.items)
            if (it.type != PageItem::Type::Line && it.type != PageItem::Type::Rect)
                ys.push_back(it.rect.top());
        const std::vector<double> rows = snapEdges(ys);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const double next = i + 1 < rows.size() ? rows[i + 1] : rows[i] + 6;
            worksheet_set_row(ws, static_cast<lxw_row_t>(rowBase + static_cast<int>(i)),
                              std::min(409.0, (next - rows[i]) * 72 / 25.4), nullptr);
        }
        // Items per cell; a row that holds one text wider than its column is merged across.
        QHash<qint64, QList<const PageItem*>> cells;
        QMap<int, int> perRow;
        for (const PageItem& it : page.items) {
            if (it.type == PageItem::Type::Line || it.type == PageItem::Type::Rect) continue;
            const int row = rowBase + indexOf(rows, it.rect.top());
            const int col = indexOf(cols, it.rect.left());
            if (it.type == PageItem::Type::Picture || it.type == PageItem::Type::Barcode) {
                keep.push_back(imageBytes(it));
                lxw_image_options opt{};
                opt.x_offset = qRound((it.rect.left() - cols[static_cast<std::size_t>(col)]) * 96 / 25.4);
                opt.x_scale = 1;
                opt.y_scale = 1;
                if (it.type == PageItem::Type::Picture && !it.image.isNull()) {
                    // Picture at the size it has on paper (96 pixels to the inch).
                    opt.x_scale = it.rect.width() * 96 / 25.4 / it.image.width();
                    opt.y_scale = it.rect.height() * 96 / 25.4 / it.image.height();
                } else {
                    opt.x_scale = opt.y_scale = 96.0 / 25.4 / 8;
                }
                worksheet_insert_image_buffer_opt(
                    ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(col),
                    reinterpret_cast<const unsigned char*>(keep.back().constData()),
                    static_cast<size_t>(keep.back().size()), &opt);
                continue;
            }
            const qint64 key = (static_cast<qint64>(row) << 20) | col;
            if (!cells.contains(key)) perRow[row] += 1;
            cells[key].append(&it);
        }
        for (auto c = cells.cbegin(); c != cells.cend(); ++c) {
            const PageItem& it = *c.value().first();
            const auto row = static_cast<lxw_row_t>(c.key() >> 20);
            const auto col = static_cast<lxw_col_t>(c.key() & 0xfffff);
            lxw_format* fmt = formatFor(it);
            if (c.value().size() > 1) {
                // Two texts in one cell: keep both, joined.
                QStringList parts;
                for (const PageItem* p : c.value())
                    parts << p->text;
                const QByteArray joined = parts.join(QLatin1Char(' ')).toUtf8();
                worksheet_write_string(ws, row, col, joined.constData(), fmt);
                continue;
            }
            if (it.hasNumber) {
                worksheet_write_number(ws, row, col, it.number, fmt);
                continue;
            }
            const QByteArray text = it.text.toUtf8();
            const int lastCol = indexOf(cols, it.rect.right() - kSnap);
            if (perRow.value(static_cast<int>(row)) == 1 && lastCol > static_cast<int>(col) && it.align == 1)
                worksheet_merge_range(ws, row, col, row, static_cast<lxw_col_t>(lastCol), text.constData(),
                                      fmt);
            else
                worksheet_write_string(ws, row, col, text.constData(), fmt);
        }
        rowBase += static_cast<int>(rows.size());
    }
    const lxw_error err = workbook_close(wb);
    if (err != LXW_NO_ERROR)
        throw fileError(QStringLiteral("文件 %1 无法写入: %2")
                            .arg(QDir::toNativeSeparators(path), QString::fromLatin1(lxw_strerror(err))));
    return {path};
}

} // namespace gz::report
