#include "report/Barcode.h"

#include <algorithm>
#include <memory>
#include <zint.h>

namespace gz::report {

std::vector<QRectF> barcodeBars(BarcodeType type, const QString& data, const QSizeF& box, QString* error) {
    std::vector<QRectF> out;
    if (data.isEmpty() || box.width() <= 0 || box.height() <= 0) return out;
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> sym(ZBarcode_Create(), ZBarcode_Delete);
    if (!sym) return out;
    sym->symbology = type == BarcodeType::Ean13 ? BARCODE_EANX
                     : type == BarcodeType::Qr  ? BARCODE_QRCODE
                                                : BARCODE_CODE128;
    sym->show_hrt = 0;
    sym->input_mode = UNICODE_MODE;
    const QByteArray utf8 = data.toUtf8();
    const int rc =
        ZBarcode_Encode_and_Buffer_Vector(sym.get(), reinterpret_cast<const unsigned char*>(utf8.constData()),
                                          static_cast<int>(utf8.size()), 0);
    if (rc >= ZINT_ERROR || !sym->vector) {
        if (error) *error = QString::fromLatin1(sym->errtxt);
        return out;
    }
    const zint_vector* v = sym->vector;
    if (v->width <= 0 || v->height <= 0) return out;
    double sx = box.width() / v->width;
    double sy = box.height() / v->height;
    if (type == BarcodeType::Qr) sx = sy = std::min(sx, sy); // square modules stay square
    for (const zint_vector_rect* r = v->rectangles; r; r = r->next)
        out.emplace_back(r->x * sx, r->y * sy, r->width * sx, r->height * sy);
    return out;
}

} // namespace gz::report
