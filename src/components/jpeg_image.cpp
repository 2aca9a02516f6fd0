#include "components/jpeg_image.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace quill {
namespace {

// libjpeg's own error manager prints to stderr and ends the process. This one
// jumps back to the decoder, which gives up on the picture, and prints nothing.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(cinfo->err)->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    // A warning (level -1) means corrupt data or a stream cut short, which libjpeg
    // would fill in with grey: counted, and the picture refused.
    if (level < 0)
        ++cinfo->err->num_warnings;
}

void outputMessage(j_common_ptr)
{}

// The two stages that call into libjpeg hold nothing but plain values, so the
// jump out of a failing call skips no destructor. Each returns false on failure.
bool readHeader(jpeg_decompress_struct *cinfo, ErrorManager *err, QByteArrayView stream)
{
    if (setjmp(err->jump))
        return false;
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(stream.data()),
                 static_cast<unsigned long>(stream.size()));
    jpeg_read_header(cinfo, TRUE);
    // Four bytes a pixel with the fourth set to 0xFF, as QImage::Format_RGBX8888 has it.
    cinfo->out_color_space = JCS_EXT_RGBA;
    return true;
}

bool readScanlines(jpeg_decompress_struct *cinfo, ErrorManager *err, QImage *image)
{
    uchar *const bits = image->bits();
    const qsizetype bytesPerLine = image->bytesPerLine();
    const auto width = JDIMENSION(image->width());
    const auto height = JDIMENSION(image->height());
    if (setjmp(err->jump))
        return false;
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != width || cinfo->output_height != height ||
        cinfo->output_components != 4)
        return false;
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = bits + qsizetype(cinfo->output_scanline) * bytesPerLine;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(cinfo);
    return err->pub.num_warnings == 0;
}

} // namespace

QImage decodeJpeg(QByteArrayView stream)
{
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = outputMessage;

    QImage image;
    if (readHeader(&cinfo, &err, stream) && err.pub.num_warnings == 0 && cinfo.image_width > 0 &&
        cinfo.image_height > 0 && cinfo.image_width <= JpegMaxSide &&
        cinfo.image_height <= JpegMaxSide) {
        QImage decoded(int(cinfo.image_width), int(cinfo.image_height), QImage::Format_RGBX8888);
        if (!decoded.isNull() && readScanlines(&cinfo, &err, &decoded))
            image = std::move(decoded);
    }
    // Safe on a structure that was never created: it is all zeros then.
    jpeg_destroy_decompress(&cinfo);
    return image;
}

QImage jpegResource(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return decodeJpeg(file.readAll());
}

} // namespace quill
