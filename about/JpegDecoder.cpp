// JPEG decoding with libjpeg: its error exit jumps back here instead of ending
// the program, and any warning (libjpeg's word for truncated or damaged data)
// makes the result a null image too.
#include "about/JpegDecoder.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace {

// Larger pictures are refused rather than allocated: the About pictures are
// a few hundred pixels wide.
constexpr JDIMENSION MaxSide = 4096;
constexpr int RgbComponents = 3;

struct TJpegErrors {
    jpeg_error_mgr Manager;  // first, so that libjpeg's pointer to it is one to us
    std::jmp_buf Jump;
};

// Everything the decoding touches after setjmp lives in the caller's frame,
// so none of it is a local of the function that calls setjmp.
struct TJpegSession {
    jpeg_decompress_struct Info;
    TJpegErrors Errors;
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->Jump, 1);
}

void DiscardMessage(j_common_ptr) {}

// Decodes into `image`; only plain C data and pointers in this frame, so
// jumping back into it skips no destructor.
bool DecodeInto(TJpegSession* session, const unsigned char* data, std::size_t size, QImage* image)
{
    jpeg_decompress_struct* info = &session->Info;
    info->err = jpeg_std_error(&session->Errors.Manager);
    session->Errors.Manager.error_exit = JumpOnError;
    session->Errors.Manager.output_message = DiscardMessage;
    if (setjmp(session->Errors.Jump)) {
        jpeg_destroy_decompress(info);
        return false;
    }
    jpeg_create_decompress(info);
    jpeg_mem_src(info, data, static_cast<unsigned long>(size));
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    const bool plausible = info->output_width <= MaxSide && info->output_height <= MaxSide
                           && info->output_components == RgbComponents;
    if (plausible)
        *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                        QImage::Format_RGB888);
    if (!plausible || image->isNull()) {
        jpeg_destroy_decompress(info);
        return false;
    }
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    const bool clean = session->Errors.Manager.num_warnings == 0;
    jpeg_destroy_decompress(info);
    return clean;
}

} // namespace

QImage DecodeJpeg(const unsigned char* data, std::size_t size)
{
    if (data == nullptr || size == 0)
        return {};
    TJpegSession session{};
    QImage image;
    if (!DecodeInto(&session, data, size, &image))
        return {};
    return image;
}

QImage LoadJpegFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()));
}
