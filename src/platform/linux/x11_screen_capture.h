// The screen capture: the image of the whole X screen (every monitor of the
// root window) read straight from the X server, written as a JPEG file of
// quality 100. The clipboard is never touched. A short-lived connection of
// its own per capture; no X server, an unknown pixel format, an unwritable
// folder or a full disk only make the capture fail (false): nothing is
// written, an older capture of the same name stays as it was.
#pragma once

#include "core/ports/capture.h"

#include <QByteArray>
#include <QImage>

namespace zk {

// The root window's image; a null image when it cannot be read.
// display: as for xcb_connect; empty means $DISPLAY.
QImage GrabX11Screen(const QByteArray &display = QByteArray());

class X11ScreenCapture final : public ScreenCapture {
public:
    explicit X11ScreenCapture(QByteArray display = QByteArray());
    // Answers before it returns.
    void captureToJpeg(const QString &name, QObject *context, Done done) override;
    // The same, at once: true when name + ".jpg" was written; name is extended by ".jpg".
    bool captureToJpeg(QString &name);

private:
    QByteArray m_display;
};

inline constexpr int kCaptureJpegQuality = 100;

}  // namespace zk
