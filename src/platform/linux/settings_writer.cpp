#include "platform/linux/settings_writer.h"

#include "core/command_line.h"
#include "platform/linux/file_owner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zk {

SettingsWriter::Result SettingsWriter::write(const AppState &state, const QString &desktopDir)
{
    const QString where = QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath());
    const PathKind kind = KindOf(m_path);
    if (const QString name = KindWords(kind); !name.isEmpty()) {
        //: %1: the settings file, %2: what stands there (a folder, a FIFO...).
        tell(m_refusalTold, QCoreApplication::translate("SettingsWriter", "書込みエラー"),
             QCoreApplication::translate("SettingsWriter", "設定ファイル %1 は%2で、通常のファイルではありません。設定は書き込みません。")
                 .arg(where, name));
        return Refused;
    }
    const FileOwner owner = OwnerOf(m_path);
    if (m_keepAside && kind == PathKind::Regular) {
        const QString kept = KeepUnreadableAside(m_path, m_clock.now());
        if (kept.isEmpty()) {
            tell(m_notKeptTold, QCoreApplication::translate("SettingsWriter", "書込みエラー"),
                 QCoreApplication::translate("SettingsWriter", "設定ファイル %1 を読み込めず、別名で残すこともできないため、設定を保存しません。")
                     .arg(where));
            return NotKeptAside;
        }
        m_keepAside = false;
        tell(m_keptTold, ProgramTitle(),
             //: %1: the new name of the unreadable file, on a line of its own.
             QCoreApplication::translate("SettingsWriter", "設定ファイルを読み込めなかったため、元のファイルを次の名前で残しました。\r\n%1")
                 .arg(QDir::toNativeSeparators(QFileInfo(kept).absoluteFilePath())));
    }
    if (!SaveSettings(m_path, state, desktopDir))
        return Failed;
    RestoreOwner(m_path, owner);
    return Saved;
}

void SettingsWriter::tell(bool &told, const QString &title, const QString &text)
{
    if (told || !notify)
        return;
    told = true;
    notify(title, text);
}

}  // namespace zk
