#include "platform/jpeg_reader.h"

#include <QImageReader>
#include <QString>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/textfile.h"

namespace tarvek {
namespace {

struct TErrors {
    jpeg_error_mgr Pub;  // first: libjpeg hands back a pointer to it
    std::jmp_buf Jump;
    TJpegStatus Failure = TJpegStatus::Damaged;
};

[[noreturn]] void Fail(j_common_ptr info, TJpegStatus status) {
    auto* errors = reinterpret_cast<TErrors*>(info->err);
    errors->Failure = status;
    std::longjmp(errors->Jump, 1);
}

// libjpeg's own would print and exit the program.
[[noreturn]] void ErrorExit(j_common_ptr info) {
    switch (info->err->msg_code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:  // past max_memory_to_use
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        Fail(info, TJpegStatus::TooLarge);
    default:
        Fail(info, TJpegStatus::Damaged);
    }
}

// Warnings are where libjpeg goes on over damaged image data, filling in grey; such a
// picture is refused like any other damaged one. Only a note about the file's extras
// lets it through. Nothing is printed either way.
void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    switch (info->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_JFIF_MAJOR:
        return;
    default:
        Fail(info, TJpegStatus::Damaged);
    }
}

void OutputMessage(j_common_ptr) {}

// The whole file is in memory: running out means it was cut short, which libjpeg's own
// sources would hide behind an invented end marker.
void InitSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr info) {
    ERREXIT(info, JERR_INPUT_EOF);
    return FALSE;
}
void SkipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* src = info->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) ERREXIT(info, JERR_INPUT_EOF);
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void TermSource(j_decompress_ptr) {}

void CheckScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxJpegScans) Fail(info, TJpegStatus::TooLarge);
}

// Adobe's files store CMYK inverted (0 is full ink), which the marker tells.
void CmykToRgb32(const JSAMPLE* cmyk, std::size_t width, bool inverted, uchar* out) {
    auto* px = reinterpret_cast<QRgb*>(out);
    for (std::size_t x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        px[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

// Everything that owns memory lives here, outside the frames a longjmp leaves.
struct TDecoder {
    jpeg_decompress_struct Info{};
    TErrors Errors{};
    jpeg_source_mgr Source{};
    jpeg_progress_mgr Progress{};
    bool Created = false;
    QImage Picture;
    std::vector<JSAMPLE> Row;

    TDecoder() = default;
    TDecoder(const TDecoder&) = delete;
    TDecoder& operator=(const TDecoder&) = delete;
    ~TDecoder() {
        if (Created) jpeg_destroy_decompress(&Info);
    }
};

// May leave by longjmp from any libjpeg call: holds nothing with a destructor.
TJpegStatus Decode(TDecoder& d, const unsigned char* data, std::size_t size, std::uint64_t maxPixels) {
    j_decompress_ptr info = &d.Info;
    d.Created = true;  // destroying a struct that creation left zeroed is harmless
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = MaxJpegDecoderMemory;
    d.Source.next_input_byte = data;
    d.Source.bytes_in_buffer = size;
    d.Source.init_source = InitSource;
    d.Source.fill_input_buffer = FillInputBuffer;
    d.Source.skip_input_data = SkipInputData;
    d.Source.resync_to_restart = jpeg_resync_to_restart;
    d.Source.term_source = TermSource;
    info->src = &d.Source;
    d.Progress.progress_monitor = CheckScans;
    info->progress = &d.Progress;

    jpeg_read_header(info, TRUE);
    if (std::uint64_t{info->image_width} * info->image_height > maxPixels) return TJpegStatus::TooLarge;
    QImage::Format format;
    int components;
    switch (info->jpeg_color_space) {
    case JCS_GRAYSCALE:
        info->out_color_space = JCS_GRAYSCALE, format = QImage::Format_Grayscale8, components = 1;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        info->out_color_space = JCS_RGB, format = QImage::Format_RGB888, components = 3;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        info->out_color_space = JCS_CMYK, format = QImage::Format_RGB32, components = 4;
        break;
    default:
        return TJpegStatus::Damaged;
    }
    jpeg_start_decompress(info);
    if (info->output_components != components) return TJpegStatus::Damaged;
    d.Picture = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height), format);
    if (d.Picture.isNull()) return TJpegStatus::TooLarge;
    const bool cmyk = components == 4;
    if (cmyk) d.Row.resize(std::size_t{info->output_width} * 4);
    while (info->output_scanline < info->output_height) {
        const int y = static_cast<int>(info->output_scanline);
        JSAMPROW row = cmyk ? d.Row.data() : d.Picture.scanLine(y);
        if (jpeg_read_scanlines(info, &row, 1) != 1) return TJpegStatus::Damaged;
        if (cmyk) CmykToRgb32(d.Row.data(), info->output_width, info->saw_Adobe_marker, d.Picture.scanLine(y));
    }
    // Reads on to the end marker: a file cut off after its last row is refused too.
    jpeg_finish_decompress(info);
    return TJpegStatus::Ok;
}

TJpegStatus Run(TDecoder& d, const unsigned char* data, std::size_t size, std::uint64_t maxPixels) {
    d.Info.err = jpeg_std_error(&d.Errors.Pub);
    d.Errors.Pub.error_exit = ErrorExit;
    d.Errors.Pub.emit_message = EmitMessage;
    d.Errors.Pub.output_message = OutputMessage;
    if (setjmp(d.Errors.Jump)) return d.Errors.Failure;
    return Decode(d, data, size, maxPixels);
}

}  // namespace

TJpegResult DecodeJpeg(const unsigned char* data, std::size_t size, std::uint64_t maxPixels) {
    TJpegResult result;
    TDecoder d;
    result.Status = Run(d, data, size, maxPixels);
    if (result.Status == TJpegStatus::Ok) result.Picture = std::move(d.Picture);
    return result;
}

bool IsJpegFileName(const std::string& path) {
    return EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg");
}

TJpegResult ReadJpegFile(const std::string& path) {
    std::string bytes;
    const TFileResult read = ReadTextBytes(path, bytes);
    if (!read) {
        TJpegResult refused;
        refused.Status = read.Status == TFileStatus::TooLarge ? TJpegStatus::TooLarge : TJpegStatus::Damaged;
        return refused;
    }
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

QImage ReadPictureFile(const std::string& path) {
    if (IsJpegFileName(path)) return ReadJpegFile(path).Picture;
    QImageReader reader(QString::fromStdString(path));
    return reader.read();
}

}  // namespace tarvek
