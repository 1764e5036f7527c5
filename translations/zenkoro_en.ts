<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CommandHistory</name>
    <message>
        <source>表示行数 ＋&#x3000;(%1)</source>
        <extracomment>Button that shows one more row of the history list; %1: the rows shown now.</extracomment>
        <translation>Rows shown + (%1)</translation>
    </message>
    <message>
        <source>記憶履歴数 ＋ (%1)</source>
        <extracomment>Button that keeps one more entry in the history; %1: the entries kept now.</extracomment>
        <translation>Entries kept + (%1)</translation>
    </message>
</context>
<context>
    <name>EditForm</name>
    <message>
        <source>日本語</source>
        <extracomment>The input method state of the input form: Japanese input on, or off.</extracomment>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>クリックで 日本語⇔English 切り替え</source>
        <translation>Click to switch between Japanese and English input</translation>
    </message>
    <message>
        <source>（入力メソッドを切り替えられないため、選んだ状態を記憶するだけです）</source>
        <translation>(The input method cannot be switched from here; only the chosen state is remembered.)</translation>
    </message>
</context>
<context>
    <name>FileKind</name>
    <message>
        <source>ディレクトリ</source>
        <translation>a directory</translation>
    </message>
    <message>
        <source>FIFO（名前付きパイプ）</source>
        <translation>a FIFO (named pipe)</translation>
    </message>
    <message>
        <source>デバイス</source>
        <translation>a device</translation>
    </message>
    <message>
        <source>ソケット</source>
        <translation>a socket</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>連続指定に実行できる行がありません。</source>
        <translation>The multi schedule has no row that can run.</translation>
    </message>
</context>
<context>
    <name>LauncherFile</name>
    <message>
        <source>行き先のないシンボリックリンク</source>
        <translation>a broken symbolic link</translation>
    </message>
    <message>
        <source>ランチャー %1 を信頼済みにできませんでした（ファイルマネージャーが実行前に確認することがあります）: %2</source>
        <extracomment>%1: the launcher file, %2: what the tool said.</extracomment>
        <translation>Could not mark the launcher %1 as trusted (the file manager may ask before running it): %2</translation>
    </message>
</context>
<context>
    <name>PhraseTrigger</name>
    <message>
        <source>該当文言は既に表示されています！</source>
        <translation>The phrase is already shown!</translation>
    </message>
    <message>
        <source>【ウィンドウタイトル】 </source>
        <translation>[Window title] </translation>
    </message>
    <message>
        <source>【表示中の文言】</source>
        <translation>[Text shown]</translation>
    </message>
    <message>
        <source>続行しますか？</source>
        <translation>Continue?</translation>
    </message>
    <message>
        <source>該当文言は既に表示されていません！</source>
        <translation>The phrase is already not shown!</translation>
    </message>
</context>
<context>
    <name>PowerStatus</name>
    <message>
        <source>バッテリ</source>
        <extracomment>The power line: on battery.</extracomment>
        <translation>Battery</translation>
    </message>
    <message>
        <source>AC電源</source>
        <extracomment>The power line: on mains power.</extracomment>
        <translation>AC power</translation>
    </message>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>バッテリなし</source>
        <translation>No battery</translation>
    </message>
    <message>
        <source>充電中</source>
        <translation>Charging</translation>
    </message>
    <message>
        <source>多い</source>
        <extracomment>Battery charge level: high.</extracomment>
        <translation>High</translation>
    </message>
    <message>
        <source>少い</source>
        <extracomment>Battery charge level: low.</extracomment>
        <translation>Low</translation>
    </message>
    <message>
        <source>微量</source>
        <extracomment>Battery charge level: critical.</extracomment>
        <translation>Critical</translation>
    </message>
    <message>
        <source>%1秒</source>
        <extracomment>Remaining battery time in seconds.</extracomment>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>SettingsWriter</name>
    <message>
        <source>書込みエラー</source>
        <extracomment>%1: the settings file, %2: what stands there (a folder, a FIFO...).</extracomment>
        <translation>Write Error</translation>
    </message>
    <message>
        <source>設定ファイル %1 は%2で、通常のファイルではありません。設定は書き込みません。</source>
        <translation>The settings file %1 is %2, not a regular file. The settings are not written.</translation>
    </message>
    <message>
        <source>設定ファイル %1 を読み込めず、別名で残すこともできないため、設定を保存しません。</source>
        <translation>The settings file %1 cannot be read and cannot be kept under another name, so the settings are not saved.</translation>
    </message>
    <message>
        <source>設定ファイルを読み込めなかったため、元のファイルを次の名前で残しました。<byte value="xd"/>
%1</source>
        <extracomment>%1: the new name of the unreadable file, on a line of its own.</extracomment>
        <translation>The settings file could not be read; the original file was kept as:<byte value="xd"/>
%1</translation>
    </message>
</context>
<context>
    <name>ShortcutMaker</name>
    <message>
        <source>は有効なファイルパスではありません！</source>
        <extracomment>Follows a path typed in a box, on a line of its own.</extracomment>
        <translation>is not a valid file path!</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>は有効なフォルダパスではありません！</source>
        <extracomment>Follows a path typed in a box, on a line of its own.</extracomment>
        <translation>is not a valid folder path!</translation>
    </message>
    <message>
        <source>は%1で、通常のファイルではありません。ショートカットは書き込みません。</source>
        <extracomment>Follows the launcher&apos;s path, on a line of its own; %1: what stands there (a folder, a FIFO...).</extracomment>
        <translation>is %1, not a regular file. The shortcut is not written.</translation>
    </message>
    <message>
        <source>上書き確認</source>
        <translation>Confirm Overwrite</translation>
    </message>
    <message>
        <source>既に同一ファイル名が存在します。上書きしますか？</source>
        <translation>A file with the same name already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>作成したショートカットのフォルダを開きますか？</source>
        <translation>Open the folder of the new shortcut?</translation>
    </message>
    <message>
        <source>ショートカット作成</source>
        <translation>Create Shortcut</translation>
    </message>
    <message>
        <source>にショートカットを書き込めませんでした。</source>
        <extracomment>Follows the launcher&apos;s path, on a line of its own.</extracomment>
        <translation>The shortcut could not be written there.</translation>
    </message>
    <message>
        <source>ショートカット生成</source>
        <translation>Create shortcut</translation>
    </message>
</context>
<context>
    <name>TrayText</name>
    <message>
        <source>%1時%2分</source>
        <extracomment>A clock time: %1 hours, %2 minutes (two digits each).</extracomment>
        <translation>%1:%2</translation>
    </message>
    <message>
        <source>%1年%2月%3日 %4</source>
        <extracomment>A date and time: %1 year, %2 month, %3 day (two digits), %4 the clock time.</extracomment>
        <translation>%1-%2-%3 %4</translation>
    </message>
    <message>
        <source>%1 未実行</source>
        <extracomment>Tray tooltip when no run is active; %1: the window title.</extracomment>
        <translation>%1 - not running</translation>
    </message>
    <message>
        <source>%1に復帰</source>
        <extracomment>Tray tooltip; %1: the time the machine wakes.</extracomment>
        <translation>Resume at %1</translation>
    </message>
    <message>
        <source>%1に%2</source>
        <extracomment>Tray tooltip; %1: the time of the power action, %2: the power action.</extracomment>
        <translation>%2 at %1</translation>
    </message>
    <message>
        <source>・・・タスクトレイに収納します・・・</source>
        <translation>... Minimized to the system tray ...</translation>
    </message>
</context>
<context>
    <name>Usage</name>
    <message>
        <source>使い方: zenkoro [オプション] [-パラメーター [値]]...

指定した分数の後、指定した時刻、または監視する条件が成り立ったときに、
このコンピューターをシャットダウン、再起動、ログオフ、休止、スリープします。

オプション:
  --help           この説明を表示して終了します
  --version        バージョンを表示して終了します
  --conf FILE      設定ファイルとして FILE を使います
  --lang ja|en     表示する言語 (日本語 / 英語)。省略時はロケールで決まります
  --explain        設定ファイルとパラメーターを適用した状態を JSON で
                   表示して終了します。何も開始しません
  --save           設定ファイルとパラメーターを適用し、設定ファイルに
                   書き込んで終了します。何も開始しません
  --command-line   今の設定を再現するパラメーターを表示します
  --dry-run        電源操作を実行せず、報告だけします
  --status         実行中のすべての zenkoro の状態を JSON で表示して
                   終了します (セッションの D-Bus バスで問い合わせます)
  --stop [PID]     実行中の zenkoro (PID を指定するとそのプロセス) の
                   実行を、中止ボタンと同じように中止します

パラメーター (例):
  -auto -reboot -time 10           10 分後に再起動
  -auto -shutdown -time 23:30      23:30 にシャットダウン
  -auto -standby -time 30 -resume 7:00 -resume_ap &lt;program args&gt;
  -auto -appear &lt;phrase&gt;           語句が画面に現れたら実行
  -auto -cpu_utl 5 60              CPU 使用率が 60 秒間 5 % 未満なら実行

画面がない (DISPLAY も WAYLAND_DISPLAY も設定されていない) ときは画面なしで
動きます。メッセージは標準エラー出力に、表題と残り時間は標準出力に出ます。
</source>
        <extracomment>The text of --help. Option names, parameter words and examples stay as they are.</extracomment>
        <translation>Usage: zenkoro [OPTIONS] [-PARAMETER [VALUE]]...

Shuts down, reboots, logs off, hibernates or suspends this computer after
a number of minutes, at a clock time, or when a watched condition holds.

Options:
  --help           show this text and exit
  --version        show the version and exit
  --conf FILE      use FILE as the settings file
  --lang ja|en     the language shown (Japanese or English); by default
                   the locale decides
  --explain        apply the settings file and the parameters, print the
                   resulting state as JSON and exit; starts nothing
  --save           apply the settings file and the parameters, write the
                   settings file and exit; starts nothing
  --command-line   print the parameters that reproduce the current settings
  --dry-run        report power actions instead of performing them
  --status         print the state of every running zenkoro as JSON
                   (asks them over the session D-Bus bus) and exit
  --stop [PID]     stop the run of the running zenkoro (or of the one
                   with process id PID), as its stop button does

Parameters (examples):
  -auto -reboot -time 10           reboot in 10 minutes
  -auto -shutdown -time 23:30      shut down at 23:30
  -auto -standby -time 30 -resume 7:00 -resume_ap &lt;program args&gt;
  -auto -appear &lt;phrase&gt;           act when the phrase appears on screen
  -auto -cpu_utl 5 60              act when CPU use stays under 5 % for 60 s

Without a display (neither DISPLAY nor WAYLAND_DISPLAY set) zenkoro runs
headless: messages go to standard error and the caption and remaining time
to standard output.
</translation>
    </message>
</context>
<context>
    <name>WakeTimer</name>
    <message>
        <source>復帰タイマーを設定できません: </source>
        <translation>cannot set the wake timer: </translation>
    </message>
    <message>
        <source>CLOCK_REALTIME_ALARM を使えません。</source>
        <translation>CLOCK_REALTIME_ALARM is not available.</translation>
    </message>
    <message>
        <source>%1 を起動できません。</source>
        <translation>Cannot start %1.</translation>
    </message>
    <message>
        <source>%1 が終了しました。%2</source>
        <translation>%1 ended. %2</translation>
    </message>
    <message>
        <source>復帰アラームを設定できるリアルタイムクロック (RTC) がありません。</source>
        <translation>There is no real-time clock (RTC) that can set a wake alarm.</translation>
    </message>
    <message>
        <source>復帰用の補助プログラム %1 が %2 にありません。</source>
        <extracomment>%1: the helper&apos;s file name, %2: the folder it was looked for in.</extracomment>
        <translation>The wake helper %1 is not in %2.</translation>
    </message>
    <message>
        <source>%1 に CAP_WAKE_ALARM の権限がありません (setcap cap_wake_alarm+ep %1)。</source>
        <translation>%1 does not have the CAP_WAKE_ALARM capability (setcap cap_wake_alarm+ep %1).</translation>
    </message>
</context>
<context>
    <name>WeeklyResume</name>
    <message>
        <source>基本</source>
        <extracomment>The rows of the weekly resume list: the default row, then Sunday to Saturday.</extracomment>
        <translation>Default</translation>
    </message>
    <message>
        <source>日曜</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>月曜</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>火曜</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>水曜</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>木曜</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>金曜</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>土曜</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>「%1」</source>
        <extracomment>One row&apos;s name, quoted, in a list of rows.</extracomment>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>復帰リストの %1 の行は時刻が正しくない（時は 0〜23、分は 0〜59）ため、時刻の無い行として扱います。</source>
        <extracomment>%1: the quoted names of the rows.</extracomment>
        <translation>The resume list rows %1 have an invalid time (hours 0-23, minutes 0-59) and are treated as rows without a time.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>復帰リスト</source>
        <translation>Resume list</translation>
    </message>
</context>
<context>
    <name>zk::PowerStatePanel</name>
    <message>
        <source>無効</source>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>電源状態</source>
        <extracomment>Row captions of the power status window: the power line, the charge, the remaining charge in percent, the remaining seconds, whether hibernation is allowed.</extracomment>
        <translation>Power</translation>
    </message>
    <message>
        <source>充電</source>
        <translation>Charge</translation>
    </message>
    <message>
        <source>残量</source>
        <translation>Remaining</translation>
    </message>
    <message>
        <source>残秒</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>休止</source>
        <extracomment>Hibernation (the power action), as a row caption.</extracomment>
        <translation>Hibernate</translation>
    </message>
    <message>
        <source>非サポート</source>
        <translation>Not supported</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>Enabled</translation>
    </message>
</context>
</TS>
