#pragma once
// The report template: page settings, bands and the objects on them, read from and written to
// our own readable XML format (.rmf). Attributes and elements this version does not know are
// kept on load and written back on save, so a template made by a newer program survives.

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

namespace gz::report {

// Attributes (name, value) and whole child elements (as XML text) that we do not understand.
struct Extras {
    QList<QPair<QString, QString>> attributes;
    QStringList elements;
    bool isEmpty() const { return attributes.isEmpty() && elements.isEmpty(); }
};

enum class ObjectKind { Text, Line, Rect, Picture, Barcode };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };
enum class LineStyle { Solid, Dash, Dot };
enum class BarcodeType { Code128, Ean13, Qr };

// One object on a band; positions in millimetres relative to the band's top left corner.
struct ReportObject {
    ObjectKind kind = ObjectKind::Text;
    QString name;
    double x = 0, y = 0, w = 0, h = 0;
    // Text: fixed text with [expression] parts. Picture and barcode: an expression giving the
    // field or the data (expr), or a file (file) for a picture.
    QString text;
    QString expr;
    QString file;
    QString format; // number or date picture applied to a value that is one expression only
    double fontSize = 9;
    bool bold = false;
    bool italic = false;
    QString fontFamily; // empty: the report's font
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Center;
    bool wrap = false;
    QString frame; // any of "l", "t", "r", "b" (sides drawn)
    double lineWidth = 0.2;
    LineStyle lineStyle = LineStyle::Solid;
    QColor color = Qt::black;
    QColor fill;       // invalid: none
    QString highlight; // a condition; when true the text takes highlightColor
    QColor highlightColor = QColor(0xcc, 0, 0);
    BarcodeType barcode = BarcodeType::Code128;
    bool keepAspect = true;
    // Line: from (x, y) to (x2, y2).
    double x2 = 0, y2 = 0;
    Extras extras;
};

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    MasterData,
    GroupHeader,
    GroupFooter,
    Summary,
    PageFooter
};

struct Band {
    BandKind kind = BandKind::MasterData;
    double height = 10;
    QString channel;      // MasterData: the channel whose rows it repeats
    QString groupBy;      // GroupHeader: expression whose change starts a new group
    bool newPage = false; // GroupHeader: each group on a new page
    std::vector<ReportObject> objects;
    Extras extras;
};

struct PageSettings {
    QString paper = QStringLiteral("A4");
    double width = 210, height = 297; // of the paper, portrait
    bool landscape = false;
    double left = 10, top = 10, right = 10, bottom = 10;
    double pageWidth() const { return landscape ? height : width; }
    double pageHeight() const { return landscape ? width : height; }
    Extras extras;
};

struct Template {
    static constexpr int kVersion = 1;
    int version = kVersion;
    QString title;
    QString fontFamily = QStringLiteral("WenQuanYi Micro Hei");
    PageSettings page;
    std::vector<Band> bands;
    Extras extras;

    const Band* band(BandKind k) const;
};

// Text form of enumerations as they stand in the file.
QString bandKindName(BandKind k);

// Reads a template from XML text; raises a conversion error naming source and line when the text
// is not a template we can read.
Template parseTemplate(const QByteArray& xml, const QString& source);
QByteArray writeTemplate(const Template& t);

struct LoadedTemplate {
    bool existed = false;
    Template report;
};
// Loads a template file. A missing file is not an error: existed is false and the template is
// empty. A file that cannot be read raises the file error, one that cannot be parsed the
// conversion error; both name the file (and the line).
LoadedTemplate loadTemplate(const QString& path);
// Saves through a temporary file and a rename, so a failed save leaves the old template whole.
void saveTemplate(const Template& t, const QString& path);

} // namespace gz::report
