// Saving an image of the screen.
#pragma once

#include <QString>

namespace zk {

class ScreenCapture {
public:
    virtual ~ScreenCapture() = default;
    // CaptureScreenToJpeg: writes name + ".jpg" and extends name by ".jpg".
    // False when nothing was written; failures are never reported to the user.
    virtual bool captureToJpeg(QString &name) = 0;
};

}  // namespace zk
