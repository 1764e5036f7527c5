#include "platform/linux/x11_screen_capture.h"

#include "core/whole_file.h"

#include <QBuffer>
#include <QImageWriter>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace zk {

namespace {

struct Disconnect {
    void operator()(xcb_connection_t *c) const { xcb_disconnect(c); }
};
struct Free {
    void operator()(void *p) const { std::free(p); }
};

}  // namespace

QImage GrabX11Screen(const QByteArray &display)
{
    if (display.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY"))
        return QImage();
    int screenNumber = 0;
    std::unique_ptr<xcb_connection_t, Disconnect> conn(
        xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screenNumber));
    xcb_connection_t *c = conn.get();
    if (!c || xcb_connection_has_error(c))
        return QImage();
    const xcb_setup_t *setup = xcb_get_setup(c);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    const xcb_screen_t *screen = it.data;
    if (!screen || screen->width_in_pixels == 0 || screen->height_in_pixels == 0)
        return QImage();

    // How pixels of the root's depth are laid out.
    int bitsPerPixel = 0;
    for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup); f.rem; xcb_format_next(&f)) {
        if (f.data->depth == screen->root_depth)
            bitsPerPixel = f.data->bits_per_pixel;
    }
    quint32 redMask = 0;
    for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d)) {
        for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v)) {
            if (v.data->visual_id == screen->root_visual)
                redMask = v.data->red_mask;
        }
    }
    QImage::Format format = QImage::Format_Invalid;
    if (bitsPerPixel == 32 && (screen->root_depth == 24 || screen->root_depth == 32))
        format = QImage::Format_RGB32;
    else if (bitsPerPixel == 16 && screen->root_depth == 16)
        format = QImage::Format_RGB16;
    if (format == QImage::Format_Invalid || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return QImage();

    const int width = screen->width_in_pixels;
    const int height = screen->height_in_pixels;
    xcb_generic_error_t *error = nullptr;
    std::unique_ptr<xcb_get_image_reply_t, Free> reply(xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, 0, 0, uint16_t(width), uint16_t(height), ~0u),
        &error));
    std::free(error);
    if (!reply)
        return QImage();
    const int length = xcb_get_image_data_length(reply.get());
    const int bytesPerLine = length / height;
    if (bytesPerLine < width * bitsPerPixel / 8)
        return QImage();
    QImage image(xcb_get_image_data(reply.get()), width, height, bytesPerLine, format);
    // A deep copy: the reply's memory goes with it.
    QImage copy = format == QImage::Format_RGB32 ? image.copy() : image.convertToFormat(QImage::Format_RGB32);
    if (format == QImage::Format_RGB32 && redMask == 0xff)
        copy = std::move(copy).rgbSwapped();  // a BGR visual
    return copy;
}

X11ScreenCapture::X11ScreenCapture(QByteArray display) : m_display(std::move(display)) {}

void X11ScreenCapture::captureToJpeg(const QString &name, QObject *, Done done)
{
    QString file = name;
    const bool written = captureToJpeg(file);
    if (done)
        done(written);
}

bool X11ScreenCapture::captureToJpeg(QString &name)
{
    name += QStringLiteral(".jpg");
    const QImage image = GrabX11Screen(m_display);
    if (image.isNull())
        return false;
    // Encoded first, then written whole or not at all: an earlier capture of
    // the same second is replaced only by a complete file.
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kCaptureJpegQuality);
    if (!writer.write(image))
        return false;
    buffer.close();
    return WriteWholeFile(name, jpeg);
}

}  // namespace zk
