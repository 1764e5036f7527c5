#include "shell/window_place.h"

#include "core/text.h"

#include <QDir>

namespace zk {

QPoint PlaceForStored(int leftTwips, int topTwips, QSize size, QRect area,
                      const std::function<bool(QPoint)> &onSomeScreen)
{
    const QPoint stored(leftTwips / kTwipsPerPixel, topTwips / kTwipsPerPixel);
    if (leftTwips >= 0 && topTwips >= 0 && onSomeScreen(QRect(stored, size).center()))
        return stored;
    return area.center() - QPoint(size.width() / 2, size.height() / 2);
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
