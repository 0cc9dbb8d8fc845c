#pragma once
// Barcodes through zint's vector output: the bars as rectangles, drawn by every output the same
// way as any other rectangle.

#include "report/Template.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace gz::report {

// The bars of a symbol fitted into a box of the given size (mm), relative to its top left corner.
// Data the symbology cannot encode gives no bars and the reason in *error.
std::vector<QRectF> barcodeBars(BarcodeType type, const QString& data, const QSizeF& box,
                                QString* error = nullptr);

} // namespace gz::report
