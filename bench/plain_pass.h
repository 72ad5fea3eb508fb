// The baseline the map's paint is measured against: one QPainter over the same image,
// every live figure drawn the plain way (no culling, no own rasteriser, no caches):
// outlines and fills by kind, text figures as one string each, and every owned plot's
// household name in a third of the plot's shorter side, however small that is. With
// smallestName 4, names under 4 pixels are left out, as the map leaves them out.
#pragma once

#include <cstdint>
#include <vector>

#include <QImage>

#include "document/figure.h"

namespace tarvek::bench {

// Records 1..size-1; the image shows the map from (scrollX, scrollY) at zoom.
void PlainPaint(QImage& image, const std::vector<TDateRec>& records, int zoom, int scrollX, int scrollY,
                int smallestName = 1);

}  // namespace tarvek::bench
