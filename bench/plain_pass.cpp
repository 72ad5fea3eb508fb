#include "bench/plain_pass.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <cmath>

namespace tarvek::bench {

namespace {

QColor ColourOf(TColor c) {
    const auto v = static_cast<std::uint32_t>(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

}  // namespace

void PlainPaint(QImage& image, const std::vector<TDateRec>& records, int zoom, int scrollX, int scrollY,
                int smallestName) {
    QPainter p(&image);
    p.translate(-scrollX, -scrollY);
    const double f = zoom / 1000.0;
    auto at = [f](double x, double y) { return QPointF(x * f, y * f); };
    QFont font;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const TDateRec& r = records[i];
        if (r.Deleted || r.SetAside) continue;
        const QPointF p1 = at(r.X1, r.Y1), p2 = at(r.X2, r.Y2), p3 = at(r.X3, r.Y3), p4 = at(r.X4, r.Y4);
        const bool owned = r.IsPlot && r.Text != "0";
        p.setPen(QPen(ColourOf(r.Selected ? 0x00FF00 : r.PenColor), std::max(1, r.PenWidth)));
        p.setBrush(r.BrushStyle == 1 || owned ? QBrush(Qt::NoBrush) : QBrush(ColourOf(r.BrushColor)));
        switch (r.Kind) {
        case fkPlot:
        case fkRectangle: {
            const QPointF corners[4] = {p1, p2, p3, p4};
            p.drawPolygon(corners, 4);
            break;
        }
        case fkLine:
        case fkLeader:
        case fkChainLine:
        case fkPolySegment:
            p.drawLine(p1, p3);
            break;
        case fkCurve: {
            QPainterPath path(p1);
            path.cubicTo(p2, p3, p4);
            p.drawPath(path);
            break;
        }
        case fkEllipse:
            p.drawEllipse(QRectF(p1, p3));
            break;
        case fkText: {
            const int h = int(std::lround(std::hypot(p4.x() - p1.x(), p4.y() - p1.y())));
            if (h < 1) break;
            font.setFamily(QString::fromStdString(r.FontName));
            font.setPixelSize(h);
            p.setFont(font);
            p.drawText(p1 + QPointF(0, h), QString::fromStdString(r.Text));
            break;
        }
        default:
            break;
        }
        if (owned && !r.HeadName.empty()) {
            const double side = std::min(std::hypot(p2.x() - p1.x(), p2.y() - p1.y()),
                                         std::hypot(p4.x() - p1.x(), p4.y() - p1.y()));
            const int q = int(std::lround(side / 3));
            if (q < smallestName) continue;
            font.setFamily(QString::fromStdString(r.FontName));
            font.setPixelSize(q);
            p.setFont(font);
            p.setPen(Qt::black);
            p.drawText(QRectF(p1, p3), Qt::AlignCenter, QString::fromStdString(r.HeadName));
        }
    }
}

}  // namespace tarvek::bench
