#include "report/Template.h"

#include "core/data/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace gz::report {

namespace {

struct Paper {
    const char* name;
    double w, h;
};
const Paper kPapers[] = {
    {"A3", 297, 420}, {"A4", 210, 297}, {"A5", 148, 210}, {"B5", 176, 250}, {"Letter", 215.9, 279.4}};

const char* const kBandNames[] = {"title",       "pageHeader",  "columnHeader", "masterData",
                                  "groupHeader", "groupFooter", "summary",      "pageFooter"};

class Reader {
public:
    Reader(const QByteArray& xml, QString source) : xml_(xml), source_(std::move(source)) {}

    [[noreturn]] void fail(const QString& what) {
        throw conversionError(QStringLiteral("报表模板 %1 第 %2 行: %3")
                                  .arg(QDir::toNativeSeparators(source_))
                                  .arg(xml_.lineNumber())
                                  .arg(what));
    }

    double number(const QString& name, const QString& text) {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (!ok) fail(QStringLiteral("属性 %1 的值 \"%2\" 不是数字").arg(name, text));
        return v;
    }
    bool boolean(const QString& text) { return text == QLatin1String("1") || text == QLatin1String("true"); }
    QColor colour(const QString& name, const QString& text) {
        if (text.isEmpty()) return {};
        QColor c(text);
        if (!c.isValid()) fail(QStringLiteral("属性 %1 的值 \"%2\" 不是颜色").arg(name, text));
        return c;
    }

    // Copies the unknown element the reader stands on, with its children, as XML text.
    QString captureElement() {
        QString out;
        QXmlStreamWriter w(&out);
        int depth = 0;
        do {
            switch (xml_.tokenType()) {
            case QXmlStreamReader::StartElement:
                w.writeStartElement(xml_.name().toString());
                w.writeAttributes(xml_.attributes());
                ++depth;
                break;
            case QXmlStreamReader::EndElement:
                w.writeEndElement();
                --depth;
                break;
            case QXmlStreamReader::Characters:
                if (!xml_.isWhitespace()) w.writeCharacters(xml_.text().toString());
                break;
            default:
                break;
            }
            if (depth == 0) break;
            xml_.readNext();
        } while (!xml_.atEnd());
        if (xml_.hasError()) fail(xml_.errorString());
        return out;
    }

    Template read() {
        Template t;
        bool seenRoot = false;
        if (xml_.readNextStartElement()) {
            if (xml_.name() != QLatin1String("report")) fail(QStringLiteral("根元素应为 report"));
            seenRoot = true;
            for (const QXmlStreamAttribute& a : xml_.attributes()) {
                const QString n = a.name().toString(), v = a.value().toString();
                if (n == QLatin1String("version")) {
                    t.version = static_cast<int>(number(n, v));
                } else if (n == QLatin1String("title")) {
                    t.title = v;
                } else if (n == QLatin1String("font")) {
                    t.fontFamily = v;
                } else {
                    t.extras.attributes.append({n, v});
                }
            }
            while (xml_.readNextStartElement()) {
                if (xml_.name() == QLatin1String("page")) {
                    readPage(t.page);
                } else if (xml_.name() == QLatin1String("band")) {
                    t.bands.push_back(readBand());
                } else {
                    t.extras.elements << captureElement();
                }
            }
        }
        if (xml_.hasError()) fail(xml_.errorString());
        if (!seenRoot) fail(QStringLiteral("文件中没有报表"));
        return t;
    }

    void readPage(PageSettings& p) {
        for (const QXmlStreamAttribute& a : xml_.attributes()) {
            const QString n = a.name().toString(), v = a.value().toString();
            if (n == QLatin1String("paper")) {
                bool known = false;
                for (const Paper& paper : kPapers)
                    if (v.compare(QLatin1String(paper.name), Qt::CaseInsensitive) == 0) {
                        p.paper = QString::fromLatin1(paper.name);
                        p.width = paper.w;
                        p.height = paper.h;
                        known = true;
                    }
                if (!known) p.paper = v; // custom: width and height attributes give the size
            } else if (n == QLatin1String("width")) {
                p.width = number(n, v);
            } else if (n == QLatin1String("height")) {
                p.height = number(n, v);
            } else if (n == QLatin1String("orientation")) {
                p.landscape = v == QLatin1String("landscape");
            } else if (n == QLatin1String("left")) {
                p.left = number(n, v);
            } else if (n == QLatin1String("top")) {
                p.top = number(n, v);
            } else if (n == QLatin1String("right")) {
                p.right = number(n, v);
            } else if (n == QLatin1String("bottom")) {
                p.bottom = number(n, v);
            } else {
                p.extras.attributes.append({n, v});
            }
        }
        if (p.width <= 0 || p.height <= 0) fail(QStringLiteral("纸张大小无效"));
        while (xml_.readNextStartElement())
            p.extras.elements << captureElement();
    }

    Band readBand() {
        Band b;
        bool typed = false;
        for (const QXmlStreamAttribute& a : xml_.attributes()) {
            const QString n = a.name().toString(), v = a.value().toString();
            if (n == QLatin1String("type")) {
                for (int i = 0; i < 8; ++i)
                    if (v == QLatin1String(kBandNames[i])) {
                        b.kind = static_cast<BandKind>(i);
                        typed = true;
                    }
                if (!typed) fail(QStringLiteral("未知的区域类型 \"%1\"").arg(v));
            } else if (n == QLatin1String("height")) {
                b.height = number(n, v);
            } else if (n == QLatin1String("channel")) {
                b.channel = v;
            } else if (n == QLatin1String("groupBy")) {
                b.groupBy = v;
            } else if (n == QLatin1String("newPage")) {
                b.newPage = boolean(v);
            } else {
                b.extras.attributes.append({n, v});
            }
        }
        if (!typed) fail(QStringLiteral("区域缺少 type 属性"));
        if (b.height < 0) fail(QStringLiteral("区域高度不能为负数"));
        while (xml_.readNextStartElement()) {
            const QString n = xml_.name().toString();
            ObjectKind k;
            if (n == QLatin1String("text") || n == QLatin1String("field"))
                k = ObjectKind::Text;
            else if (n == QLatin1String("line"))
                k = ObjectKind::Line;
            else if (n == QLatin1String("rect"))
                k = ObjectKind::Rect;
            else if (n == QLatin1String("picture"))
                k = ObjectKind::Picture;
            else if (n == QLatin1String("barcode"))
                k = ObjectKind::Barcode;
            else {
                b.extras.elements << captureElement();
                continue;
            }
            b.objects.push_back(readObject(k, n == QLatin1String("field")));
        }
        return b;
    }

    ReportObject readObject(ObjectKind kind, bool isField) {
        ReportObject o;
        o.kind = kind;
        for (const QXmlStreamAttribute& a : xml_.attributes()) {
            const QString n = a.name().toString(), v = a.value().toString();
            if (n == QLatin1String("x") || n == QLatin1String("x1"))
                o.x = number(n, v);
            else if (n == QLatin1String("y") || n == QLatin1String("y1"))
                o.y = number(n, v);
            else if (n == QLatin1String("w"))
                o.w = number(n, v);
            else if (n == QLatin1String("h"))
                o.h = number(n, v);
            else if (n == QLatin1String("x2"))
                o.x2 = number(n, v);
            else if (n == QLatin1String("y2"))
                o.y2 = number(n, v);
            else if (n == QLatin1String("name"))
                o.name = v;
            else if (n == QLatin1String("expr"))
                o.expr = v;
            else if (n == QLatin1String("file"))
                o.file = v;
            else if (n == QLatin1String("format"))
                o.format = v;
            else if (n == QLatin1String("size"))
                o.fontSize = number(n, v);
            else if (n == QLatin1String("bold"))
                o.bold = boolean(v);
            else if (n == QLatin1String("italic"))
                o.italic = boolean(v);
            else if (n == QLatin1String("font"))
                o.fontFamily = v;
            else if (n == QLatin1String("align"))
                o.align = v == QLatin1String("center")  ? HAlign::Center
                          : v == QLatin1String("right") ? HAlign::Right
                                                        : HAlign::Left;
            else if (n == QLatin1String("valign"))
                o.valign = v == QLatin1String("top")      ? VAlign::Top
                           : v == QLatin1String("bottom") ? VAlign::Bottom
                                                          : VAlign::Center;
            else if (n == QLatin1String("wrap"))
                o.wrap = boolean(v);
            else if (n == QLatin1String("frame"))
                o.frame = v;
            else if (n == QLatin1String("lineWidth"))
                o.lineWidth = number(n, v);
            else if (n == QLatin1String("style"))
                o.lineStyle = v == QLatin1String("dot")    ? LineStyle::Dot
                              : v == QLatin1String("dash") ? LineStyle::Dash
                                                           : LineStyle::Solid;
            else if (n == QLatin1String("color"))
                o.color = colour(n, v);
            else if (n == QLatin1String("fill"))
                o.fill = colour(n, v);
            else if (n == QLatin1String("highlight"))
                o.highlight = v;
            else if (n == QLatin1String("highlightColor"))
                o.highlightColor = colour(n, v);
            else if (n == QLatin1String("type")) {
                if (v == QLatin1String("ean13"))
                    o.barcode = BarcodeType::Ean13;
                else if (v == QLatin1String("qr"))
                    o.barcode = BarcodeType::Qr;
                else if (v == QLatin1String("code128"))
                    o.barcode = BarcodeType::Code128;
                else
                    fail(QStringLiteral("未知的条码类型 \"%1\"").arg(v));
            } else if (n == QLatin1String("keepAspect"))
                o.keepAspect = boolean(v);
            else
                o.extras.attributes.append({n, v});
        }
        if (kind == ObjectKind::Text) {
            QString body;
            while (!xml_.atEnd()) {
                xml_.readNext();
                if (xml_.isCharacters())
                    body += xml_.text();
                else if (xml_.isStartElement())
                    o.extras.elements << captureElement();
                else if (xml_.isEndElement())
                    break;
            }
            if (xml_.hasError()) fail(xml_.errorString());
            // <field expr="…"/> is a text made of one expression.
            if (isField && body.isEmpty() && !o.expr.isEmpty())
                body = QLatin1Char('[') + o.expr + QLatin1Char(']');
            o.text = body;
            if (isField) o.expr.clear();
        } else {
            while (xml_.readNextStartElement())
                o.extras.elements << captureElement();
        }
        if (o.w < 0 || o.h < 0) fail(QStringLiteral("对象的宽度和高度不能为负数"));
        return o;
    }

private:
    QXmlStreamReader xml_;
    QString source_;
};

QString num(double v) {
    return QString::number(v, 'g', 10);
}

void writeExtras(QXmlStreamWriter& w, const Extras& e) {
    for (const auto& a : e.attributes)
        w.writeAttribute(a.first, a.second);
}

void writeExtraElements(QXmlStreamWriter& w, const Extras& e) {
    for (const QString& xml : e.elements) {
        QXmlStreamReader r(xml);
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartDocument() || r.isEndDocument()) continue;
            w.writeCurrentToken(r);
        }
    }
}

QString colourText(const QColor& c) {
    return c.name(QColor::HexRgb);
}

void writeObject(QXmlStreamWriter& w, const ReportObject& o) {
    static const ReportObject def;
    const char* tag = o.kind == ObjectKind::Text      ? "text"
                      : o.kind == ObjectKind::Line    ? "line"
                      : o.kind == ObjectKind::Rect    ? "rect"
                      : o.kind == ObjectKind::Picture ? "picture"
                                                      : "barcode";
    w.writeStartElement(QLatin1String(tag));
    if (!o.name.isEmpty()) w.writeAttribute(QStringLiteral("name"), o.name);
    if (o.kind == ObjectKind::Line) {
        w.writeAttribute(QStringLiteral("x1"), num(o.x));
        w.writeAttribute(QStringLiteral("y1"), num(o.y));
        w.writeAttribute(QStringLiteral("x2"), num(o.x2));
        w.writeAttribute(QStringLiteral("y2"), num(o.y2));
    } else {
        w.writeAttribute(QStringLiteral("x"), num(o.x));
        w.writeAttribute(QStringLiteral("y"), num(o.y));
        w.writeAttribute(QStringLiteral("w"), num(o.w));
        w.writeAttribute(QStringLiteral("h"), num(o.h));
    }
    if (!o.expr.isEmpty()) w.writeAttribute(QStringLiteral("expr"), o.expr);
    if (!o.file.isEmpty()) w.writeAttribute(QStringLiteral("file"), o.file);
    if (!o.format.isEmpty()) w.writeAttribute(QStringLiteral("format"), o.format);
    if (o.kind == ObjectKind::Text) {
        if (o.fontSize != def.fontSize) w.writeAttribute(QStringLiteral("size"), num(o.fontSize));
        if (o.bold) w.writeAttribute(QStringLiteral("bold"), QStringLiteral("1"));
        if (o.italic) w.writeAttribute(QStringLiteral("italic"), QStringLiteral("1"));
        if (!o.fontFamily.isEmpty()) w.writeAttribute(QStringLiteral("font"), o.fontFamily);
        if (o.align != HAlign::Left)
            w.writeAttribute(QStringLiteral("align"),
                             o.align == HAlign::Center ? QStringLiteral("center") : QStringLiteral("right"));
        if (o.valign != VAlign::Center)
            w.writeAttribute(QStringLiteral("valign"),
                             o.valign == VAlign::Top ? QStringLiteral("top") : QStringLiteral("bottom"));
        if (o.wrap) w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("1"));
        if (!o.highlight.isEmpty()) {
            w.writeAttribute(QStringLiteral("highlight"), o.highlight);
            w.writeAttribute(QStringLiteral("highlightColor"), colourText(o.highlightColor));
        }
    }
    if (!o.frame.isEmpty()) w.writeAttribute(QStringLiteral("frame"), o.frame);
    if (o.lineWidth != def.lineWidth) w.writeAttribute(QStringLiteral("lineWidth"), num(o.lineWidth));
    if (o.lineStyle != LineStyle::Solid)
        w.writeAttribute(QStringLiteral("style"),
                         o.lineStyle == LineStyle::Dot ? QStringLiteral("dot") : QStringLiteral("dash"));
    if (o.color != def.color) w.writeAttribute(QStringLiteral("color"), colourText(o.color));
    if (o.fill.isValid()) w.writeAttribute(QStringLiteral("fill"), colourText(o.fill));
    if (o.kind == ObjectKind::Barcode)
        w.writeAttribute(QStringLiteral("type"), o.barcode == BarcodeType::Ean13 ? QStringLiteral("ean13")
                                                 : o.barcode == BarcodeType::Qr  ? QStringLiteral("qr")
                                                                                 : QStringLiteral("code128"));
    if (o.kind == ObjectKind::Picture && !o.keepAspect)
        w.writeAttribute(QStringLiteral("keepAspect"), QStringLiteral("0"));
    writeExtras(w, o.extras);
    if (o.kind == ObjectKind::Text && !o.text.isEmpty()) w.writeCharacters(o.text);
    writeExtraElements(w, o.extras);
    w.writeEndElement();
}

} // namespace

const Band* Template::band(BandKind k) const {
    for (const Band& b : bands)
        if (b.kind == k) return &b;
    return nullptr;
}

QString bandKindName(BandKind k) {
    return QLatin1String(kBandNames[static_cast<int>(k)]);
}

Template parseTemplate(const QByteArray& xml, const QString& source) {
    Reader r(xml, source);
    return r.read();
}

QByteArray writeTemplate(const Template& t) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("report"));
    w.writeAttribute(QStringLiteral("version"), QString::number(t.version));
    if (!t.title.isEmpty()) w.writeAttribute(QStringLiteral("title"), t.title);
    w.writeAttribute(QStringLiteral("font"), t.fontFamily);
    writeExtras(w, t.extras);

    const PageSettings& p = t.page;
    w.writeStartElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("paper"), p.paper);
    w.writeAttribute(QStringLiteral("width"), num(p.width));
    w.writeAttribute(QStringLiteral("height"), num(p.height));
    w.writeAttribute(QStringLiteral("orientation"),
                     p.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("left"), num(p.left));
    w.writeAttribute(QStringLiteral("top"), num(p.top));
    w.writeAttribute(QStringLiteral("right"), num(p.right));
    w.writeAttribute(QStringLiteral("bottom"), num(p.bottom));
    writeExtras(w, p.extras);
    writeExtraElements(w, p.extras);
    w.writeEndElement();

    for (const Band& b : t.bands) {
        w.writeStartElement(QStringLiteral("band"));
        w.writeAttribute(QStringLiteral("type"), bandKindName(b.kind));
        w.writeAttribute(QStringLiteral("height"), num(b.height));
        if (!b.channel.isEmpty()) w.writeAttribute(QStringLiteral("channel"), b.channel);
        if (!b.groupBy.isEmpty()) w.writeAttribute(QStringLiteral("groupBy"), b.groupBy);
        if (b.newPage) w.writeAttribute(QStringLiteral("newPage"), QStringLiteral("1"));
        writeExtras(w, b.extras);
        for (const ReportObject& o : b.objects)
            writeObject(w, o);
        writeExtraElements(w, b.extras);
        w.writeEndElement();
    }
    writeExtraElements(w, t.extras);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

LoadedTemplate loadTemplate(const QString& path) {
    LoadedTemplate r;
    QFile f(path);
    if (!f.exists()) return r;
    r.existed = true;
    if (!f.open(QIODevice::ReadOnly))
        throw fileError(
            QStringLiteral("报表模板 %1 无法打开: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    r.report = parseTemplate(f.readAll(), path);
    return r;
}

void saveTemplate(const Template& t, const QString& path) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        throw fileError(
            QStringLiteral("报表模板 %1 无法写入: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
    f.write(writeTemplate(t));
    if (!f.commit())
        throw fileError(
            QStringLiteral("报表模板 %1 无法写入: %2").arg(QDir::toNativeSeparators(path), f.errorString()));
}

} // namespace gz::report
