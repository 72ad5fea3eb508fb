// JPEG pictures by libjpeg (its 6-series interface); the paper's picture is taken by the
// file's extension: "jpg" and "jpeg" come here, every other picture goes to Qt's reader.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvek {

// A picture of more pixels is refused from its header, before anything is allocated:
// 64 megapixels is more than any screen shows of the paper, and a few bytes can declare
// 65500 x 65500. A decoded picture takes 1 to 4 bytes a pixel.
constexpr std::uint64_t MaxJpegPixels = std::uint64_t{64} << 20;
// libjpeg's own tables and buffers (a progressive picture keeps all its coefficients).
constexpr long MaxJpegDecoderMemory = 512L << 20;
// A progressive picture is decoded again for every scan; real ones have about ten.
constexpr int MaxJpegScans = 256;

enum class TJpegStatus {
    Ok,
    Damaged,   // no JPEG, cut short, corrupt image data, or a colour layout not shown
    TooLarge,  // more than the pixel limit, or more decoder memory than allowed
};

struct TJpegResult {
    TJpegStatus Status = TJpegStatus::Damaged;
    // Grayscale8, RGB888 or RGB32 (from CMYK); null unless Status is Ok.
    QImage Picture;
};

// Decodes a whole JPEG held in memory. Never exits, never writes to stderr.
TJpegResult DecodeJpeg(const unsigned char* data, std::size_t size, std::uint64_t maxPixels = MaxJpegPixels);

// True when the name ends in ".jpg" or ".jpeg", in any case.
bool IsJpegFileName(const std::string& path);

// Reads the file within the bounds of every read (ReadTextBytes) and decodes it; a file
// that cannot be read is Damaged.
TJpegResult ReadJpegFile(const std::string& path);

// The picture of a file of any format: JPEG by its extension through DecodeJpeg, the
// rest through Qt's reader; null when the file cannot be read as a picture.
QImage ReadPictureFile(const std::string& path);

}  // namespace tarvek
