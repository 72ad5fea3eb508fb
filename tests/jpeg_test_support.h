// JPEG files made in the tests with libjpeg's compressor, in the layouts cameras and
// scanners write, and the colour tolerance their lossy coding needs.
#pragma once

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace tarvek::testing {

enum class TJpegLayout { Baseline, Progressive, Gray, AdobeCmyk, Restarts };

inline std::string EncodeJpeg(const QImage& picture, TJpegLayout layout = TJpegLayout::Baseline, int quality = 90) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);  // a test's own input: libjpeg's exit is fine here
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    const bool gray = layout == TJpegLayout::Gray, cmyk = layout == TJpegLayout::AdobeCmyk;
    info.input_components = gray ? 1 : cmyk ? 4 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);  // CMYK gets the Adobe marker, and its inverted values
    jpeg_set_quality(&info, quality, TRUE);
    if (layout == TJpegLayout::Progressive) jpeg_simple_progression(&info);
    if (layout == TJpegLayout::Restarts) info.restart_interval = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(rgb.width()) * 4);
    while (info.next_scanline < info.image_height) {
        const uchar* src = rgb.constScanLine(static_cast<int>(info.next_scanline));
        for (int x = 0; x < rgb.width(); ++x) {
            const int r = src[3 * x], g = src[3 * x + 1], b = src[3 * x + 2];
            if (gray) {
                row[static_cast<std::size_t>(x)] = static_cast<JSAMPLE>(qGray(r, g, b));
            } else if (cmyk) {
                // Inverted as Adobe writes it: k is the darkness's complement.
                const int k = std::max({r, g, b});
                JSAMPLE* p = &row[static_cast<std::size_t>(4 * x)];
                p[0] = static_cast<JSAMPLE>(k == 0 ? 0 : r * 255 / k);
                p[1] = static_cast<JSAMPLE>(k == 0 ? 0 : g * 255 / k);
                p[2] = static_cast<JSAMPLE>(k == 0 ? 0 : b * 255 / k);
                p[3] = static_cast<JSAMPLE>(k);
            } else {
                for (int c = 0; c < 3; ++c) row[static_cast<std::size_t>(3 * x + c)] = src[3 * x + c];
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

// A picture of four 16 x 16 squares (one MCU each, so that chroma does not bleed far):
// red, green / blue, white.
inline QImage FourSquares() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = y < 16 ? (x < 16 ? qRgb(255, 0, 0) : qRgb(0, 255, 0)) : (x < 16 ? qRgb(0, 0, 255) : qRgb(255, 255, 255));
            image.setPixel(x, y, c);
        }
    return image;
}

// Lossy coding moves a plain colour by a few steps.
inline bool NearColour(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

}  // namespace tarvek::testing
