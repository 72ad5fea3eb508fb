// The JPEG decoder of the paper's picture. A picture it takes is within the pixel limit
// (its header's size, so one pixel less refuses it) and in one of the decoder's formats;
// a refused one has no picture. An exit, a longjmp gone astray or a leak is a finding on
// its own.
// Seeds: small pictures of every layout (baseline, progressive, grey, Adobe CMYK, restart
// markers, odd sizes, one cut short), made with libjpeg's compressor.
#include <QImage>

#include "fuzz/fuzz_support.h"
#include "platform/jpeg_reader.h"

using namespace tarvek;
using namespace tarvek::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A lower limit than the program's keeps every run quick: the same test refuses.
    constexpr std::uint64_t limit = std::uint64_t{1} << 20;
    const TJpegResult r = DecodeJpeg(data, size, limit);
    if (r.Status != TJpegStatus::Ok) {
        Require(r.Picture.isNull(), "a refused picture has no pixels");
        return 0;
    }
    const QImage& p = r.Picture;
    Require(!p.isNull() && p.width() > 0 && p.height() > 0, "a picture taken has pixels");
    Require(std::uint64_t(p.width()) * std::uint64_t(p.height()) <= limit, "within the pixel limit");
    Require(p.format() == QImage::Format_Grayscale8 || p.format() == QImage::Format_RGB888 ||
                p.format() == QImage::Format_RGB32,
            "one of the decoder's formats");
    // The limit is taken from the header, before anything is decoded.
    const std::uint64_t pixels = std::uint64_t(p.width()) * std::uint64_t(p.height());
    Require(DecodeJpeg(data, size, pixels - 1).Status == TJpegStatus::TooLarge, "one pixel below the limit refuses");
    return 0;
}
