#pragma once
// The outputs of a prepared report. Each walks the same page items.
// Painting (screen, printer, PDF, pictures) needs a QGuiApplication for the fonts; XLSX and HTML
// need none (their pictures are painted without text).

#include "report/Prepared.h"

#include <QStringList>

class QPainter;
class QPrinter;

namespace gz::report {

// Paints one page with its top left paper corner at the painter's origin, dotsPerMm device pixels
// to the millimetre.
void paintPage(QPainter& painter, const PreparedPage& page, double dotsPerMm);
// The page as a picture (white paper).
QImage renderPage(const PreparedPage& page, double dpi);

// Every export raises the file error naming the file when it cannot be written, and returns the
// files it wrote.
QStringList exportPdf(const PreparedReport& r, const QString& path);
// One file per page: page 1 under the name given, page n as name_n with the same suffix.
// The suffix chooses the format (png, jpg/jpeg, bmp).
QStringList exportImages(const PreparedReport& r, const QString& path, double dpi = 150);
// One sheet; cells placed by the items' positions; numbers as numbers with their printed decimals.
QStringList exportXlsx(const PreparedReport& r, const QString& path);
// A plain file set: one page per file (name.html, name_2.html, …) with the links 第一页, 上一页,
// 下一页, 最后页, and its pictures as JPEG files in the folder name_files.
QStringList exportHtml(const PreparedReport& r, const QString& path);
// Chooses the export by the file's suffix (pdf, xlsx, html/htm, png, jpg, jpeg, bmp); raises the
// conversion error for another suffix.
QStringList exportByName(const PreparedReport& r, const QString& path);

// Prints every page (fromPage..toPage when the printer has a range) at the printer's resolution.
void printReport(const PreparedReport& r, QPrinter& printer);

// The name of page n's file: page 1 keeps the name, page n gets "_n" before the suffix.
QString pageFileName(const QString& path, int page);

} // namespace gz::report
