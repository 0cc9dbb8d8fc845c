#include "core/io/TableFile.h"

#include "core/data/Errors.h"
#include "core/io/ZipReader.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace gz {

namespace {

bool blankRow(const QStringList& r) {
    for (const QString& s : r)
        if (!s.trimmed().isEmpty()) return false;
    return true;
}

void addRecord(TableFile& t, QStringList record, int line) {
    if (t.header.isEmpty()) {
        for (QString& h : record)
            h = h.trimmed();
        t.header = record;
        return;
    }
    if (blankRow(record)) return;
    t.rows.push_back(std::move(record));
    t.lines.push_back(line);
}

QByteArray readZipEntry(const ZipReader& zip, const QString& path, const QString& name, bool required) {
    std::optional<QByteArray> data = zip.read(name);
    if (!data) {
        if (required) throw fileError(QStringLiteral("%1 不是有效的 XLSX 文件(缺少 %2)").arg(path, name));
        return {};
    }
    return *data;
}

// "B12" → column index 1.
int columnOf(const QString& ref) {
    int col = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter()) break;
        col = col * 26 + (ch.toUpper().unicode() - 'A' + 1);
    }
    return col - 1;
}

int rowOf(const QString& ref) {
    int i = 0;
    while (i < ref.size() && ref[i].isLetter())
        ++i;
    return ref.mid(i).toInt();
}

QStringList sharedStrings(const QByteArray& xml) {
    QStringList out;
    QXmlStreamReader r(xml);
    QString current;
    bool inSi = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            if (r.name() == QLatin1String("si")) {
                inSi = true;
                current.clear();
            } else if (inSi && r.name() == QLatin1String("t")) {
                current += r.readElementText();
            } else if (r.name() == QLatin1String("rPh")) {
                r.skipCurrentElement(); // phonetic hints are not part of the text
            }
        } else if (r.isEndElement() && r.name() == QLatin1String("si")) {
            out << current;
            inSi = false;
        }
    }
    if (r.hasError()) throw fileError(QStringLiteral("XLSX 共享字符串无法读取: %1").arg(r.errorString()));
    return out;
}

// A number as the sheet stores it, written back without a needless exponent or fraction.
QString numberText(const QString& raw) {
    bool ok = false;
    const double v = raw.toDouble(&ok);
    if (!ok) return raw;
    return QString::number(v, 'g', 15);
}

} // namespace

TableFile parseCsv(const QByteArray& bytes) {
    QString data = QString::fromUtf8(bytes);
    if (data.startsWith(QChar(0xFEFF))) data.remove(0, 1);
    TableFile t;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    int recordLine = 1;
    const int n = data.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && data[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == u',') {
            record << field;
            field.clear();
            fieldStarted = false;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n') ++i;
            record << field;
            addRecord(t, record, recordLine);
            record.clear();
            field.clear();
            fieldStarted = false;
            ++line;
            recordLine = line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) throw fileError(QStringLiteral("第%1行: 引号没有结束").arg(recordLine));
    if (fieldStarted || !record.isEmpty()) {
        record << field;
        addRecord(t, record, recordLine);
    }
    return t;
}

TableFile readXlsx(const QString& path) {
    const ZipReader zip(path);
    const QStringList strings =
        sharedStrings(readZipEntry(zip, path, QStringLiteral("xl/sharedStrings.xml"), false));
    const QByteArray sheet = readZipEntry(zip, path, QStringLiteral("xl/worksheets/sheet1.xml"), true);

    TableFile t;
    QXmlStreamReader r(sheet);
    QStringList record;
    int rowNumber = 0;
    int nextCol = 0;
    auto flush = [&] {
        if (rowNumber > 0) addRecord(t, record, rowNumber);
        record.clear();
    };
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement()) continue;
        if (r.name() == QLatin1String("row")) {
            flush();
            const QString rn = r.attributes().value(QLatin1String("r")).toString();
            rowNumber = rn.isEmpty() ? rowNumber + 1 : rn.toInt();
            nextCol = 0;
        } else if (r.name() == QLatin1String("c")) {
            const QString ref = r.attributes().value(QLatin1String("r")).toString();
            const QString type = r.attributes().value(QLatin1String("t")).toString();
            const int col = ref.isEmpty() ? nextCol : columnOf(ref);
            if (!ref.isEmpty() && rowNumber == 0) rowNumber = rowOf(ref);
            QString value;
            while (r.readNextStartElement()) {
                if (r.name() == QLatin1String("v")) {
                    value = r.readElementText();
                } else if (r.name() == QLatin1String("is")) {
                    QString inl;
                    while (r.readNextStartElement()) {
                        if (r.name() == QLatin1String("t"))
                            inl += r.readElementText();
                        else
                            r.skipCurrentElement();
                    }
                    value = inl;
                } else {
                    r.skipCurrentElement();
                }
            }
            if (type == QLatin1String("s")) {
                const int idx = value.toInt();
                value = idx >= 0 && idx < strings.size() ? strings[idx] : QString();
            } else if (type.isEmpty() || type == QLatin1String("n")) {
                value = numberText(value);
            }
            while (record.size() < col)
                record << QString();
            if (col >= 0) {
                if (record.size() == col)
                    record << value;
                else
                    record[col] = value;
            }
            nextCol = col + 1;
        }
    }
    if (r.hasError()) throw fileError(QStringLiteral("XLSX 工作表无法读取: %1").arg(r.errorString()));
    flush();
    return t;
}

TableFile readTableFile(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0)
        return readXlsx(path);
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw fileError(QStringLiteral("无法打开文件 %1").arg(path));
    return parseCsv(f.readAll());
}

} // namespace gz
