#pragma once
// A prepared report: the pages as device-independent lists of items placed in millimetres.
// The preview, the printer, PDF, pictures, XLSX and HTML all draw from this one list, so they
// cannot disagree.

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

namespace gz::report {

struct PageItem {
    enum class Type { Text, Line, Rect, Picture, Barcode };
    Type type = Type::Text;
    QRectF rect; // mm from the top left corner of the paper; for lines: from topLeft to bottomRight
    // Text
    QString text;
    QString fontFamily;
    double fontSize = 9; // points
    bool bold = false;
    bool italic = false;
    int align = 0;  // 0 left, 1 centre, 2 right
    int valign = 1; // 0 top, 1 centre, 2 bottom
    bool wrap = false;
    QColor color = Qt::black;
    QColor fill;
    // Frame sides drawn around a text or rectangle: bit 1 left, 2 top, 4 right, 8 bottom.
    int frame = 0;
    double lineWidth = 0.2; // mm
    int lineStyle = 0;      // 0 solid, 1 dash, 2 dot
    // A number behind the text, for spreadsheets: hasNumber, the value rounded as printed, and
    // the decimals of its picture (-1: general) with thousands separators or not.
    bool hasNumber = false;
    double number = 0;
    int decimals = -1;
    bool thousands = false;
    // Picture
    QImage image;
    // Barcode: rectangles in mm relative to rect's top left corner.
    std::vector<QRectF> bars;
};

struct PreparedPage {
    double width = 210, height = 297; // mm
    std::vector<PageItem> items;
};

struct PreparedReport {
    QString title;
    std::vector<PreparedPage> pages;

    // Saving and loading a prepared report (the preview's 保存/打开). Raises the file error.
    void save(const QString& path) const;
    static PreparedReport load(const QString& path);
};

} // namespace gz::report
