#include "picture_box.h"

#include "form_name.h"

#include <QByteArray>
#include <QPaintEvent>
#include <QPainter>

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE

#include <jerror.h>
#include <jpeglib.h>

namespace ui {
namespace {

// Pictures larger than this are decoded at 1/2, 1/4 or 1/8 of their size
// (an 8K photo at half size still covers a 4K screen); larger still are
// refused, so a header claiming 65500 x 65500 pixels cannot exhaust memory.
constexpr qint64 kMaxDecodedPixels = 32LL * 1024 * 1024;

// libjpeg's default error_exit ends the process and its messages go to
// stderr: errors jump back here instead, and messages are dropped.
struct JpegErrors
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool incomplete = false;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void jpegEmitMessage(j_common_ptr cinfo, int level)
{
    // Data that ends early (the file is cut, or a marker comes before the
    // picture is complete) is only a warning to libjpeg, which pads the
    // picture with grey; such a file is not a picture here. Other warnings
    // (stray bytes between markers, for one) are common in good photos.
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        errors->incomplete = true;
}

void jpegOutputMessage(j_common_ptr) {}

// Adobe's CMYK JPEGs store the inks inverted, so each value is the amount of
// paper showing through; multiplying by K gives RGB.
void cmykRowToRgb(const JSAMPLE* in, QRgb* out, int width)
{
    for (int x = 0; x < width; ++x, in += 4) {
        const int k = in[3];
        out[x] = qRgb(k * in[0] / 255, k * in[1] / 255, k * in[2] / 255);
    }
}

// Decodes into `out`. Between setjmp and the end only `out` (owned by the
// caller) and plain locals are touched, so a longjmp skips no destructor.
bool decodeJpeg(const unsigned char* data, unsigned long size, QImage& out)
{
    jpeg_decompress_struct cinfo;
    JpegErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegErrorExit;
    errors.pub.emit_message = jpegEmitMessage;
    errors.pub.output_message = jpegOutputMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // Grayscale and YCbCr pictures come out as RGBX, which is QImage's byte
    // order for Format_RGBX8888.
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    while (cinfo.scale_denom < 8
           && qint64(cinfo.image_width / cinfo.scale_denom)
                      * qint64(cinfo.image_height / cinfo.scale_denom)
                  > kMaxDecodedPixels)
        cinfo.scale_denom *= 2;

    jpeg_start_decompress(&cinfo);
    const int width = int(cinfo.output_width);
    const int height = int(cinfo.output_height);
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxDecodedPixels
        || cinfo.output_components != 4) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    out = QImage(width, height, cmyk ? QImage::Format_RGB32 : QImage::Format_RGBX8888);
    if (out.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // CMYK rows are converted in place: 4 bytes in, 4 bytes out, left to right.
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW row = out.scanLine(y);
        jpeg_read_scanlines(&cinfo, &row, 1);
        if (cmyk)
            cmykRowToRgb(row, reinterpret_cast<QRgb*>(row), width);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return !errors.incomplete;
}

}  // namespace

QImage decodePicture(std::string_view fileBytes)
{
    if (fileBytes.empty())
        return {};
    const auto* data = reinterpret_cast<const unsigned char*>(fileBytes.data());
    if (fileBytes.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
        QImage image;
        if (!decodeJpeg(data, static_cast<unsigned long>(fileBytes.size()), image))
            return {};
        return image;
    }
    return QImage::fromData(QByteArray::fromRawData(fileBytes.data(), qsizetype(fileBytes.size())));
}

PictureBox::PictureBox(std::string_view formName, QWidget* parent) : QWidget(parent)
{
    setFormName(this, formName);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted below
}

void PictureBox::setPicture(std::string_view fileBytes)
{
    image_ = decodePicture(fileBytes);
    scaled_ = QImage();
    update();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (image_.isNull() || width() <= 0 || height() <= 0)
        return;
    // Scaled once per size: a full-screen backdrop is repainted often (the
    // main window above it moves, menus open) and scaling it each time costs.
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * ratio).toSize();
    if (scaled_.size() != target) {
        const QImage::Format format = image_.hasAlphaChannel()
                                          ? QImage::Format_ARGB32_Premultiplied
                                          : QImage::Format_RGB32;
        scaled_ = image_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(format);
        scaled_.setDevicePixelRatio(ratio);
    }
    painter.drawImage(QPoint(0, 0), scaled_);
}

}  // namespace ui
