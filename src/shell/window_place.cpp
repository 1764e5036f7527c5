#include "shell/window_place.h"

#include "core/text.h"

#include <QDir>
#include <algorithm>

namespace zk {

QPoint PlaceForStored(int leftTwips, int topTwips, QSize size, QRect area,
                      const std::function<bool(QPoint)> &onSomeScreen)
{
    const QPoint stored(leftTwips / kTwipsPerPixel, topTwips / kTwipsPerPixel);
    if (leftTwips >= 0 && topTwips >= 0 && onSomeScreen(QRect(stored, size).center()))
        return stored;
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
}

namespace {

// The coordinate that keeps [pos, pos + length) inside [low, low + room).
int KeepInside(int pos, int length, int low, int room)
{
    return std::max(low, std::min(pos, low + room - length));
}

}  // namespace

QRect FitInArea(QPoint topLeft, QSize wanted, QRect area)
{
    const QSize size = wanted.boundedTo(area.size());
    return {QPoint(KeepInside(topLeft.x(), size.width(), area.left(), area.width()),
                   KeepInside(topLeft.y(), size.height(), area.top(), area.height())),
            size};
}

QPoint PlaceAtPointer(QPoint pointer, QSize size, QRect screen)
{
    return {KeepInside(pointer.x(), size.width(), screen.left(), screen.width()),
            KeepInside(pointer.y(), size.height(), screen.top(), screen.height())};
}

QPoint PlaceUnderBox(QRect box, QSize list, QRect screen)
{
    int top = box.bottom() + 1;
    if (top + list.height() > screen.top() + screen.height())
        top = box.top() - list.height();
    return {KeepInside(box.left(), list.width(), screen.left(), screen.width()), top};
}

QString BrowseStartFolder(const QString &appCommand, const QString &lastFolder, const QString &workingDir,
                          const std::function<bool(const QString &folder)> &folderExists)
{
    const QString program = StripBrackets(CommandPart(appCommand), QStringLiteral("\""), QStringLiteral("\""));
    if (program.isEmpty())
        return lastFolder;
    const QString folder = QDir::cleanPath(QDir(workingDir).absoluteFilePath(program) + QStringLiteral("/.."));
    return folderExists(folder) ? folder : lastFolder;
}

}  // namespace zk
