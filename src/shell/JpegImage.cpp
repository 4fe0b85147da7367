#include "shell/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// libjpeg's own error handler ends the process; this one jumps back.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool damaged; // a warning: data missing or wrong, filled in by libjpeg
};

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void NoMessage(j_common_ptr) {}

void NoteWarning(j_common_ptr info, int level)
{
    if (level < 0)
        reinterpret_cast<ErrorManager*>(info->err)->damaged = true;
}

// Pictures beyond this many pixels are refused rather than allocated.
constexpr unsigned long kMaxPixels = 64UL * 1024 * 1024;

} // namespace

QImage DecodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return QImage();
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = NoMessage;
    err.pub.emit_message = NoteWarning;
    // Lives outside the jump's reach: set before setjmp, read after it.
    QImage* volatile result = new QImage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        return QImage();
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK
        || static_cast<unsigned long>(info.image_width) * info.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&info);
        delete result;
        return QImage();
    }
    // Straight into 32-bit scan lines in the byte order of RGB32.
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    *result = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (result->isNull()) {
        jpeg_destroy_decompress(&info);
        delete result;
        return QImage();
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = result->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    // A picture libjpeg had to patch up (cut short, damaged) is not shown.
    QImage picture = err.damaged ? QImage() : std::move(*result);
    delete result;
    return picture;
}
