// The JPEG decoder of the paper's picture: the layouts pictures come in, and damaged or
// oversized files refused without an exit, a word on stderr or a large allocation.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <string>

#include "jpeg_test_support.h"
#include "platform/jpeg_reader.h"
#include "test_support.h"

namespace tarvek {
namespace {

using testing::EncodeJpeg;
using testing::TJpegLayout;

TJpegResult Decode(const std::string& bytes, std::uint64_t maxPixels = MaxJpegPixels) {
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), maxPixels);
}

// The position of a marker's 0xFF, from the start of the file.
std::size_t MarkerAt(const std::string& jpeg, unsigned char code) {
    const std::size_t at = jpeg.find(std::string{'\xFF', static_cast<char>(code)});
    EXPECT_NE(at, std::string::npos) << std::hex << int{code};
    return at;
}

// The header alone, up to the image data, declaring width x height.
std::string HeaderDeclaring(std::string jpeg, unsigned width, unsigned height) {
    const std::size_t sof = MarkerAt(jpeg, 0xC0);
    jpeg[sof + 5] = static_cast<char>(height >> 8), jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8), jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    const std::size_t sos = MarkerAt(jpeg, 0xDA);
    const std::size_t length = (static_cast<unsigned char>(jpeg[sos + 2]) << 8) | static_cast<unsigned char>(jpeg[sos + 3]);
    return jpeg.substr(0, sos + 2 + length);
}

TEST(JpegReader, EveryLayoutDecodesToItsColours) {
    struct TCase {
        const char* Name;
        TJpegLayout Layout;
        QImage::Format Format;
    };
    const TCase cases[] = {
        {"baseline", TJpegLayout::Baseline, QImage::Format_RGB888},
        {"progressive", TJpegLayout::Progressive, QImage::Format_RGB888},
        {"restart markers", TJpegLayout::Restarts, QImage::Format_RGB888},
        {"grey", TJpegLayout::Gray, QImage::Format_Grayscale8},
        {"Adobe CMYK", TJpegLayout::AdobeCmyk, QImage::Format_RGB32},
    };
    const QImage source = testing::FourSquares();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TJpegResult r = Decode(EncodeJpeg(source, c.Layout));
        ASSERT_EQ(r.Status, TJpegStatus::Ok);
        ASSERT_EQ(r.Picture.size(), source.size());
        EXPECT_EQ(r.Picture.format(), c.Format);
        for (const QPoint p : {QPoint(8, 8), QPoint(24, 8), QPoint(8, 24), QPoint(24, 24)}) {
            QRgb want = source.pixel(p);
            if (c.Layout == TJpegLayout::Gray) want = qRgb(qGray(want), qGray(want), qGray(want));
            EXPECT_TRUE(testing::NearColour(r.Picture.pixel(p), want))
                << p.x() << "," << p.y() << " " << std::hex << r.Picture.pixel(p) << " for " << want;
        }
    }
}

// A file cut anywhere, before or inside the image data or just before its end marker,
// is refused: libjpeg's own sources would invent the rest in grey.
TEST(JpegReader, AFileCutAnywhereIsRefused) {
    for (const TJpegLayout layout : {TJpegLayout::Baseline, TJpegLayout::Progressive}) {
        const std::string jpeg = EncodeJpeg(testing::FourSquares(), layout);
        ASSERT_EQ(Decode(jpeg).Status, TJpegStatus::Ok);
        for (std::size_t size = 0; size < jpeg.size(); ++size) {
            const TJpegResult r = Decode(jpeg.substr(0, size));
            ASSERT_EQ(r.Status, TJpegStatus::Damaged) << "cut at " << size << " of " << jpeg.size();
            ASSERT_TRUE(r.Picture.isNull());
        }
    }
}

TEST(JpegReader, DamageAndSizesAreRefusedAndHarmlessExtrasTaken) {
    const std::string jpeg = EncodeJpeg(testing::FourSquares());
    const std::size_t sos = MarkerAt(jpeg, 0xDA), eoi = jpeg.size() - 2;
    std::string endInData = jpeg;  // libjpeg fills the rest of such a picture with grey
    endInData.replace((sos + eoi) / 2, 2, "\xFF\xD9");
    QImage plain(8, 8, QImage::Format_RGB32);
    plain.fill(Qt::cyan);
    QByteArray png;
    {
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && plain.save(&buffer, "PNG"));
    }
    const std::string extras = jpeg.substr(0, 2) + "stray bytes" + jpeg.substr(2);

    struct TCase {
        const char* Name;
        std::string Bytes;
        std::uint64_t MaxPixels;
        TJpegStatus Status;
    };
    const TCase cases[] = {
        {"empty", "", MaxJpegPixels, TJpegStatus::Damaged},
        {"a PNG", std::string(png.constData(), static_cast<std::size_t>(png.size())), MaxJpegPixels, TJpegStatus::Damaged},
        {"an end marker inside the image data", endInData, MaxJpegPixels, TJpegStatus::Damaged},
        {"60000 x 60000 declared by a header alone", HeaderDeclaring(jpeg, 60000, 60000), MaxJpegPixels, TJpegStatus::TooLarge},
        {"65535 x 65535 declared by a header alone", HeaderDeclaring(jpeg, 65535, 65535), MaxJpegPixels, TJpegStatus::TooLarge},
        {"8193 x 8192 declared, one row over the limit", HeaderDeclaring(jpeg, 8193, 8192), MaxJpegPixels, TJpegStatus::TooLarge},
        {"32 x 32 within a limit of 1024 pixels", jpeg, 1024, TJpegStatus::Ok},
        {"32 x 32 over a limit of 1023 pixels", jpeg, 1023, TJpegStatus::TooLarge},
        {"stray bytes between two markers", extras, MaxJpegPixels, TJpegStatus::Ok},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ::testing::internal::CaptureStderr();
        const TJpegResult r = Decode(c.Bytes, c.MaxPixels);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(r.Status, c.Status);
        EXPECT_EQ(r.Picture.isNull(), c.Status != TJpegStatus::Ok);
    }
}

TEST(JpegReader, TheExtensionPicksTheDecoder) {
    for (const char* name : {"a.jpg", "A.JPG", "b.JpEg", "/紙.d/背景.jpeg", "C:\\寺\\背景.jpg", ".jpg"})
        EXPECT_TRUE(IsJpegFileName(name)) << name;
    for (const char* name : {"a.png", "a.jpg.png", "jpg", "/x.jpg/file", "C:\\x.jpg\\file", "a.jpe", "a.jfif", "a.", "a.jpgx"})
        EXPECT_FALSE(IsJpegFileName(name)) << name;
}

TEST(JpegReader, FilesAreReadWhole) {
    testing::TTempFolder dir;
    const std::string jpeg = EncodeJpeg(testing::FourSquares());
    testing::WriteBytes(dir.File("紙.jpg"), jpeg);
    testing::WriteBytes(dir.File("半分.jpg"), jpeg.substr(0, jpeg.size() / 2));
    const TJpegResult whole = ReadJpegFile(dir.File("紙.jpg"));
    EXPECT_EQ(whole.Status, TJpegStatus::Ok);
    EXPECT_EQ(whole.Picture.size(), QSize(32, 32));
    EXPECT_EQ(ReadJpegFile(dir.File("半分.jpg")).Status, TJpegStatus::Damaged);
    EXPECT_EQ(ReadJpegFile(dir.File("無い.jpg")).Status, TJpegStatus::Damaged);
}

}  // namespace
}  // namespace tarvek
