// Saving an image of the screen.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace zk {

class ScreenCapture {
public:
    using Done = std::function<void(bool written)>;
    virtual ~ScreenCapture() = default;
    // CaptureScreenToJpeg: writes name + ".jpg". Never blocks: `done` is
    // called once (false when nothing was written), possibly before the call
    // returns, and only while `context` exists.
    virtual void captureToJpeg(const QString &name, QObject *context, Done done) = 0;
};

}  // namespace zk
