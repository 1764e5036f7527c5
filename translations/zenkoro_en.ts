<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Caption</name>
    <message>
        <source>コマンドライン</source>
        <extracomment>Caption of the window that shows the generated command line.</extracomment>
        <translation>Command line</translation>
    </message>
</context>
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
    <name>CommandLine</name>
    <message>
        <source>「%1」は不明なパラメータです！</source>
        <translation>&quot;%1&quot; is an unknown parameter!</translation>
    </message>
    <message>
        <source>パラメーターエラー</source>
        <translation>Parameter error</translation>
    </message>
    <message>
        <source>「-%1」に値がありません！</source>
        <translation>&quot;-%1&quot; has no value!</translation>
    </message>
    <message>
        <source>時間が不正です！</source>
        <translation>The time is not valid!</translation>
    </message>
    <message>
        <source>時刻の記述が不正です！</source>
        <translation>The clock time is not valid!</translation>
    </message>
    <message>
        <source>パラメータ= </source>
        <translation>parameters= </translation>
    </message>
    <message>
        <source>パラメータエラー</source>
        <translation>Parameter error</translation>
    </message>
</context>
<context>
    <name>CommandLineGenerator</name>
    <message>
        <source>%1ため、コマンドラインを生成できません。</source>
        <extracomment>%1 is the reason, a clause such as &quot;the watched phrase is empty&quot;.</extracomment>
        <translation>Cannot make a command line: %1.</translation>
    </message>
    <message>
        <source>「%1」の値 %2 が負の数の</source>
        <translation>the value %2 of &quot;%1&quot; is negative</translation>
    </message>
    <message>
        <source>監視文言が空の</source>
        <translation>the watched phrase is empty</translation>
    </message>
    <message>
        <source>監視文言「%1」は「&lt;」「&gt;」の組み合わせや前後の空白がコマンドラインでは元に戻らない</source>
        <translation>the watched phrase &quot;%1&quot; has &quot;&lt;&quot;, &quot;&gt;&quot; or leading or trailing blanks that the command line cannot carry</translation>
    </message>
    <message>
        <source>下限</source>
        <extracomment>Name of the box with the CPU usage limit.</extracomment>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>平均時間</source>
        <extracomment>Name of the box with the seconds the CPU usage is averaged over.</extracomment>
        <translation>Averaging time</translation>
    </message>
    <message>
        <source>監視プロセス「%1」はコマンドラインに一語で書けない</source>
        <translation>the watched process &quot;%1&quot; cannot be written as one word on the command line</translation>
    </message>
    <message>
        <source>復帰予定日時の「%1」が数値でない</source>
        <translation>the &quot;%1&quot; of the wake-up time is not a number</translation>
    </message>
    <message>
        <source>復帰予定日時の「%1」が 0 から %2 の範囲にない</source>
        <translation>the &quot;%1&quot; of the wake-up time is not between 0 and %2</translation>
    </message>
    <message>
        <source>時</source>
        <extracomment>Name of the hour box.</extracomment>
        <translation>Hour</translation>
    </message>
    <message>
        <source>分</source>
        <extracomment>Name of the minute box.</extracomment>
        <translation>Minute</translation>
    </message>
    <message>
        <source>「分後に復帰」の値がコマンドラインでは元に戻らない</source>
        <translation>the &quot;wake up after minutes&quot; value cannot be carried by the command line</translation>
    </message>
    <message>
        <source>復帰時に実行するプログラム「%1」に大文字があり、コマンドラインでは小文字で読まれる</source>
        <translation>the program to start on wake-up &quot;%1&quot; has capital letters, which the command line reads in lower case</translation>
    </message>
    <message>
        <source>復帰時に実行するプログラム「%1」は「&lt;」「&gt;」の組み合わせがコマンドラインでは元に戻らない</source>
        <translation>the program to start on wake-up &quot;%1&quot; has &quot;&lt;&quot; and &quot;&gt;&quot; that the command line cannot carry</translation>
    </message>
    <message>
        <source>分後</source>
        <extracomment>Name of the minutes-after-start box.</extracomment>
        <translation>Minutes after</translation>
    </message>
    <message>
        <source>秒間入力無い時に実行</source>
        <extracomment>Name of the box with the seconds without input.</extracomment>
        <translation>Seconds without input</translation>
    </message>
</context>
<context>
    <name>ControlCommands</name>
    <message>
        <source>zenkoro: セッション D-Bus バスが %1 秒以内に応答しませんでした。実行中の zenkoro に問い合わせられません。
</source>
        <translation>zenkoro: the session D-Bus bus did not answer within %1 seconds. Cannot ask the running zenkoro.
</translation>
    </message>
    <message>
        <source>zenkoro: プロセス %1 (%2) が %3 秒以内に応答しませんでした。</source>
        <extracomment>%1 process id, %2 its bus name, %3 seconds.</extracomment>
        <translation>zenkoro: process %1 (%2) did not answer within %3 seconds. </translation>
    </message>
    <message>
        <source>zenkoro: プロセス %1 は実行中ではないため、停止するものがありません。
</source>
        <translation>zenkoro: process %1 is not running, so there is nothing to stop.
</translation>
    </message>
    <message>
        <source>停止していません。
</source>
        <translation>It was not stopped.
</translation>
    </message>
</context>
<context>
    <name>DateTime</name>
    <message>
        <source>日曜日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>月曜日</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>火曜日</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>水曜日</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>木曜日</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>金曜日</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>土曜日</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>%1月%2日 %3時%4分</source>
        <extracomment>%1 month, %2 day, %3 hour, %4 minute.</extracomment>
        <translation>%1/%2 %3:%4</translation>
    </message>
    <message>
        <source>%1年%2月%3日(%4) %5</source>
        <extracomment>%1 year, %2 month, %3 day (two digits), %4 weekday name, %5 hours:minutes.</extracomment>
        <translation>%4, %1/%2/%3 %5</translation>
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
    <name>HeadlessView</name>
    <message>
        <source>(表示がないため既定の「キャンセル」で答えます)</source>
        <translation>(no display: answering with the default &quot;Cancel&quot;)</translation>
    </message>
</context>
<context>
    <name>JobEdit</name>
    <message>
        <source>%1処理開始までの時間を分で指定</source>
        <extracomment>Tooltips: %1 is the operation&apos;s name (shut down, reboot, ...).</extracomment>
        <translation>Minutes until the %1 starts</translation>
    </message>
    <message>
        <source>%1処理開始の時刻を時分で指定。現在時刻より前は翌日扱い</source>
        <translation>Clock time (hours and minutes) at which the %1 starts. A time before now means tomorrow</translation>
    </message>
    <message>
        <source>%1処理開始</source>
        <translation>Start the %1</translation>
    </message>
    <message>
        <source>%1処理中止</source>
        <translation>Stop the %1</translation>
    </message>
    <message>
        <source>%1までの時間を分単位で指定</source>
        <translation>Minutes until the %1</translation>
    </message>
    <message>
        <source>%1の実行を出力文言やCPU使用率・電源状態により監視します。</source>
        <translation>Runs the %1 on a phrase on the screen, the CPU usage or the power state.</translation>
    </message>
    <message>
        <source>画面上に右の文言が表示された時 %1を実行します。空白は無効</source>
        <translation>Runs the %1 when the phrase on the right is shown on the screen. Blank means off</translation>
    </message>
    <message>
        <source>%1の設定は無視され、復帰のみ行います。</source>
        <translation>The %1 setting is ignored; only the wake-up is done.</translation>
    </message>
    <message>
        <source>画面上に、この文言が 「表示された時」 に終了処理を実行。ダブルクリックで入力フォームを表示</source>
        <translation>Runs the operation when this phrase &quot;appears&quot; on the screen. Double-click to open the input form</translation>
    </message>
    <message>
        <source>画面上に、この文言が 「表示されなくなった時」 に終了処理を実行。ダブルクリックで入力フォームを表示</source>
        <translation>Runs the operation when this phrase &quot;disappears&quot; from the screen. Double-click to open the input form</translation>
    </message>
    <message>
        <source>無効</source>
        <extracomment>Title of the message that hibernation is turned off.</extracomment>
        <translation>Disabled</translation>
    </message>
    <message>
        <source>「休止」は無効となっています。<byte value="xd"/>
[電源のオプション]から「休止」を有効にして下さい。</source>
        <translation>Hibernation is turned off.<byte value="xd"/>
Turn hibernation on in the power settings.</translation>
    </message>
    <message>
        <source>未入力</source>
        <extracomment>Title of the message that a box is empty.</extracomment>
        <translation>Empty</translation>
    </message>
    <message>
        <source>0 以上の整数を入力して下さい。</source>
        <translation>Enter a whole number of 0 or more.</translation>
    </message>
    <message>
        <source>保存完了</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>書込みエラー</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>設定値の保存に失敗しました！<byte value="xd"/>
媒体が書込み不可、または、ファイル（Conf.txt）が読取専用になっていないか、確認してください。</source>
        <translation>The settings could not be saved!<byte value="xd"/>
Check that the medium is writable and that the file (Conf.txt) is not read-only.</translation>
    </message>
    <message>
        <source>既定値</source>
        <extracomment>Title of the question before the default settings are restored.</extracomment>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>既定値に戻します。よろしいですか？</source>
        <translation>Restore the default settings?</translation>
    </message>
    <message>
        <source>即終了</source>
        <extracomment>Button: shut down now.</extracomment>
        <translation>Shut down now</translation>
    </message>
    <message>
        <source>シャットダウンを即実行</source>
        <translation>Shut down right away</translation>
    </message>
    <message>
        <source>即 再起動</source>
        <extracomment>Button: reboot now.</extracomment>
        <translation>Reboot now</translation>
    </message>
    <message>
        <source>即 休止</source>
        <extracomment>Button: hibernate now.</extracomment>
        <translation>Hibernate now</translation>
    </message>
    <message>
        <source>即 スタンバイ</source>
        <extracomment>Button: sleep now.</extracomment>
        <translation>Sleep now</translation>
    </message>
    <message>
        <source>即 スリープ</source>
        <translation>Sleep now</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>Zenkoroシャットダウン %1</source>
        <extracomment>Title of the message that a program could not be started; %1 is the version.</extracomment>
        <translation>Zenkoro %1</translation>
    </message>
    <message>
        <source>アプリ起動エラー</source>
        <translation>Cannot start the program</translation>
    </message>
    <message>
        <source>パラメータ= </source>
        <translation>parameters= </translation>
    </message>
    <message>
        <source>ウィンドウハンドルの特定に失敗<byte value="xd"/>
再度、行って見て下さい。</source>
        <translation>Could not find the window.<byte value="xd"/>
Please try again.</translation>
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
    <name>MultiEdit</name>
    <message>
        <source>開始</source>
        <extracomment>Start button while the multi-schedule box is ticked: start the schedule.</extracomment>
        <translation>Start</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
</context>
<context>
    <name>MultiRun</name>
    <message>
        <source>連続指定の %1 行目は時刻が正しくない（時は 0〜23、分は 0〜59）ため、空の行として扱います。</source>
        <extracomment>%1 lists the numbers of the multi-schedule rows.</extracomment>
        <translation>Multi-schedule row(s) %1 have an invalid time (hour 0–23, minute 0–59) and are treated as empty.</translation>
    </message>
    <message>
        <source>連続指定 %1/%2: %3 %4</source>
        <extracomment>One step of the multi schedule: %1/%2 its place, %3 when, %4 the operation.</extracomment>
        <translation>Schedule %1/%2: %3 %4</translation>
    </message>
    <message>
        <source> 復帰 %1</source>
        <extracomment>Part of a multi-schedule step: %1 is when the computer wakes up.</extracomment>
        <translation> wake up %1</translation>
    </message>
    <message>
        <source> 起動 %1</source>
        <extracomment>Part of a multi-schedule step: %1 is the program started after the wake-up.</extracomment>
        <translation> start %1</translation>
    </message>
</context>
<context>
    <name>Operation</name>
    <message>
        <source>シャットダウン</source>
        <extracomment>An operation: power off the computer.</extracomment>
        <translation>Shut down</translation>
    </message>
    <message>
        <source>再起動</source>
        <extracomment>An operation: restart the computer.</extracomment>
        <translation>Reboot</translation>
    </message>
    <message>
        <source>ログオフ</source>
        <extracomment>An operation: end the user&apos;s session.</extracomment>
        <translation>Log off</translation>
    </message>
    <message>
        <source>休止</source>
        <extracomment>An operation: hibernate (suspend to disk).</extracomment>
        <translation>Hibernate</translation>
    </message>
    <message>
        <source>スリープ</source>
        <extracomment>An operation: sleep (suspend to RAM).</extracomment>
        <translation>Sleep</translation>
    </message>
    <message>
        <source>復帰</source>
        <extracomment>A multi-schedule row entry: wake the computer up after the sleep before it.</extracomment>
        <translation>Wake up</translation>
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
    <name>RunPlan</name>
    <message>
        <source>%1日 %2</source>
        <extracomment>Time left: %1 days, %2 hours:minutes:seconds.</extracomment>
        <translation>%1d %2</translation>
    </message>
    <message>
        <source>入力エラー</source>
        <translation>Input error</translation>
    </message>
    <message>
        <source>0 以上の整数を入力して下さい。</source>
        <translation>Enter a whole number of 0 or more.</translation>
    </message>
    <message>
        <source>分後：%1以下の数値を入力</source>
        <translation>Minutes after: enter a number of %1 or less</translation>
    </message>
    <message>
        <source>時刻の記述が不正です！</source>
        <translation>The clock time is not valid!</translation>
    </message>
    <message>
        <source>予定日（%1）は exec_week %2 の指定により<byte value="xd"/>
実行をパスします。</source>
        <extracomment>%1 is the date, %2 the -exec_week value (seven 0/1 digits).</extracomment>
        <translation>The planned day (%1) is skipped<byte value="xd"/>
by exec_week %2.</translation>
    </message>
    <message>
        <source>入力文字エラー</source>
        <translation>Input error</translation>
    </message>
    <message>
        <source>御客さん！ご冗談は止めて下さい！</source>
        <translation>Please enter a phrase to watch for!</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Month</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Day</translation>
    </message>
    <message>
        <source>時</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>復帰予定日時の「%1」には数値を入力して下さい。</source>
        <translation>Enter a number for the &quot;%1&quot; of the wake-up time.</translation>
    </message>
    <message>
        <source>復帰までの時間が長過ぎます。</source>
        <translation>The time until the wake-up is too long.</translation>
    </message>
    <message>
        <source>エラー発生</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>復帰予定日時は現在時刻(+1分)以降にして下さい！</source>
        <translation>The wake-up time must be at least one minute from now!</translation>
    </message>
    <message>
        <source>復帰予定日時は%1予定時刻(+1分)以降にして下さい！</source>
        <translation>The wake-up time must be at least one minute after the planned %1!</translation>
    </message>
    <message>
        <source>パスエラー</source>
        <translation>Path error</translation>
    </message>
    <message>
        <source>記述されたパスは無効です。</source>
        <translation>The path is not valid.</translation>
    </message>
    <message>
        <source>入力注意</source>
        <translation>Input warning</translation>
    </message>
    <message>
        <source>%1のパラメーターの時間 time,t は %2以内にして下さい。</source>
        <translation>The time parameter time,t of %1 must be %2 or less.</translation>
    </message>
    <message>
        <source>矛盾</source>
        <translation>Conflict</translation>
    </message>
    <message>
        <source>「復帰」にチェックするか「復帰のみ」をオフにするかにして下さい。</source>
        <translation>Tick &quot;Wake up&quot; or untick &quot;Wake up only&quot;.</translation>
    </message>
    <message>
        <source>復帰予定日は <byte value="xd"/>
%1<byte value="xd"/>
復帰無効曜日です。処理をキャンセルします。</source>
        <translation>The wake-up day <byte value="xd"/>
%1<byte value="xd"/>
is a day without wake-up. The run is cancelled.</translation>
    </message>
    <message>
        <source>復帰タイマーを設定できません。</source>
        <translation>Cannot set the wake-up timer.</translation>
    </message>
</context>
<context>
    <name>SessionLimits</name>
    <message>
        <source>Wayland セッションでは、監視文言は AT-SPI 対応アプリケーションの中だけを探します（ウィンドウのタイトルは読めません）。</source>
        <translation>In a Wayland session the watched phrase is searched only in applications with AT-SPI support (window titles cannot be read).</translation>
    </message>
    <message>
        <source>Wayland セッションでは、無操作の時間は logind のアイドル状態から読みます（コンポジターの無操作通知は使いません）。</source>
        <translation>In a Wayland session the idle time is read from the logind idle state (the compositor&apos;s idle notice is not used).</translation>
    </message>
    <message>
        <source>Wayland セッションでは、警告のウィンドウを他のウィンドウより手前に固定できません。</source>
        <translation>In a Wayland session the warning window cannot be kept above other windows.</translation>
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
    <name>zk::ApplicationPanel</name>
    <message>
        <source>復帰時アプリ</source>
        <translation>App on wake</translation>
    </message>
    <message>
        <source>アプリ起動を有効/無効に設定</source>
        <translation>Turn starting the app on/off</translation>
    </message>
    <message>
        <source>復帰時に右のプログラムを実行（ここをクリックするとパラメータの説明を表示）</source>
        <translation>On wake, run the program on the right (click here for the parameters)</translation>
    </message>
    <message>
        <source>復帰時に実行するプログラム</source>
        <translation>Program to run on wake</translation>
    </message>
    <message>
        <source>起動するプログラムを選択</source>
        <translation>Choose the program to start</translation>
    </message>
    <message>
        <source>右クリックでポップアップメニュー</source>
        <translation>Right-click for the menu</translation>
    </message>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>昇順並べ替え</source>
        <translation>Sort ascending</translation>
    </message>
    <message>
        <source>降順並べ替え</source>
        <translation>Sort descending</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>表示行数 ＋</source>
        <translation>Rows shown +</translation>
    </message>
    <message>
        <source>表示行数 －</source>
        <translation>Rows shown −</translation>
    </message>
    <message>
        <source>記憶履歴数 ＋</source>
        <translation>History size +</translation>
    </message>
    <message>
        <source>記憶履歴数 －</source>
        <translation>History size −</translation>
    </message>
    <message>
        <source>偶数行色</source>
        <translation>Shade even rows</translation>
    </message>
    <message>
        <source>コマンド色</source>
        <translation>Color commands</translation>
    </message>
    <message>
        <source>起動ファイルの選択</source>
        <translation>Choose the file to start</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>zk::CpuPage</name>
    <message>
        <source>平均値の下限：下記の時間、平均値が本値未満だと終了と見なす</source>
        <translation>Lower limit: when the average stays below it for the time below, the work counts as finished</translation>
    </message>
    <message>
        <source>CPU使用率平均を計算する時間（秒）</source>
        <translation>Time over which the CPU usage is averaged (seconds)</translation>
    </message>
    <message>
        <source>監視するプロセスを選択、未選択時はCPU全体</source>
        <translation>Choose the process to watch; none means the whole CPU</translation>
    </message>
    <message>
        <source>右時間のCPU使用率平均（％）</source>
        <translation>Average CPU usage over the time on the right (%)</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Lower limit</translation>
    </message>
    <message>
        <source>平均時間</source>
        <translation>Averaging time</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>監視プロセス</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>CPU使用率</source>
        <translation>CPU usage</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Average</translation>
    </message>
    <message>
        <source>周期</source>
        <translation>Interval</translation>
    </message>
</context>
<context>
    <name>zk::CreateShortcutWindow</name>
    <message>
        <source>デスクトップのランチャーにはこの設定を記録する項目がありません</source>
        <translation>Desktop launchers have no field for this setting</translation>
    </message>
    <message>
        <source>ショートカットの作成</source>
        <translation>Create shortcut</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>リンク先</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>コマンドラインスイッチ</source>
        <translation>Command-line switches</translation>
    </message>
    <message>
        <source>ショートカットキー</source>
        <translation>Shortcut key</translation>
    </message>
    <message>
        <source>作業フォルダ</source>
        <translation>Working folder</translation>
    </message>
    <message>
        <source>コメント</source>
        <translation>Comment</translation>
    </message>
    <message>
        <source>アイコン</source>
        <translation>Icon</translation>
    </message>
    <message>
        <source>クリックするとコマンドラインの説明を表示します</source>
        <translation>Click to show the command-line help</translation>
    </message>
    <message>
        <source>（指定なし）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>画像ファイル、またはアイコン名</source>
        <translation>Image file or icon name</translation>
    </message>
    <message>
        <source>ショートカット名</source>
        <translation>Shortcut name</translation>
    </message>
    <message>
        <source>ターゲットの選択</source>
        <translation>Choose the target</translation>
    </message>
    <message>
        <source>アイコンを変更します</source>
        <translation>Change the icon</translation>
    </message>
    <message>
        <source>通常のウィンドウ</source>
        <translation>Normal window</translation>
    </message>
    <message>
        <source>最大化</source>
        <translation>Maximized</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimized</translation>
    </message>
    <message>
        <source>実行時の大きさ</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ショートカット(*.desktop) (*.desktop)</source>
        <translation>Shortcuts (*.desktop)</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>アイコンの選択</source>
        <translation>Choose an icon</translation>
    </message>
    <message>
        <source>アイコン (*.png *.svg *.xpm *.ico)</source>
        <translation>Icons (*.png *.svg *.xpm *.ico)</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>失敗</source>
        <translation>Failed</translation>
    </message>
</context>
<context>
    <name>zk::DisplayPanel</name>
    <message>
        <source>表示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>最前面表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>このウィンドウを常に最前面に表示／解除</source>
        <translation>Keep this window above the others, or stop</translation>
    </message>
    <message>
        <source>トレイ収納</source>
        <translation>Use the tray</translation>
    </message>
    <message>
        <source>開始、および最小化時にタスクトレイに収納します。</source>
        <translation>Hide in the system tray when started or minimized.</translation>
    </message>
    <message>
        <source>開始時最小化</source>
        <translation>Start minimized</translation>
    </message>
    <message>
        <source>開始時にウィンドウを最小化します</source>
        <translation>Minimize the window when started</translation>
    </message>
    <message>
        <source>カウントダウン音</source>
        <translation>Countdown beep</translation>
    </message>
    <message>
        <source>終了間近になった時、カウントダウン音を鳴らします。</source>
        <translation>Beep during the last seconds of the countdown.</translation>
    </message>
    <message>
        <source>通知非表示</source>
        <translation>No notices</translation>
    </message>
    <message>
        <source>警告の通知を表示しません</source>
        <translation>Do not show warning notices</translation>
    </message>
    <message>
        <source>キャプチャー（Capture）</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>終了時のデスクトップイメージをファイルに出力</source>
        <translation>Save an image of the desktop to a file at the end</translation>
    </message>
    <message>
        <source>即実行ボタン</source>
        <translation>Run-now buttons</translation>
    </message>
    <message>
        <source>即実行ボタンを表示します</source>
        <translation>Show the run-now buttons</translation>
    </message>
    <message>
        <source>保存先</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>キャプチャーファイルの保存先フォルダを指定します</source>
        <translation>Choose the folder for the capture files</translation>
    </message>
    <message>
        <source>設定を保存</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>現在の設定を設定ファイルに保存します</source>
        <translation>Save the current settings to the settings file</translation>
    </message>
    <message>
        <source>既定値に戻す</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>設定を既定値に戻します</source>
        <translation>Reset the settings to their defaults</translation>
    </message>
    <message>
        <source>コマンドライン生成</source>
        <translation>Command line</translation>
    </message>
    <message>
        <source>現在の設定を実行するコマンドラインを表示します</source>
        <translation>Show a command line that runs the current settings</translation>
    </message>
    <message>
        <source>ショートカット生成</source>
        <translation>Shortcut</translation>
    </message>
    <message>
        <source>現在の設定を実行するショートカットをデスクトップに作成します</source>
        <translation>Create a desktop shortcut that runs the current settings</translation>
    </message>
    <message>
        <source>（説明）</source>
        <translation>(help)</translation>
    </message>
    <message>
        <source>コマンドラインの説明を表示します</source>
        <translation>Show the command-line help</translation>
    </message>
    <message>
        <source>コマンドラインの説明</source>
        <translation>Command-line help</translation>
    </message>
    <message>
        <source>保存先フォルダの指定</source>
        <translation>Choose the folder</translation>
    </message>
</context>
<context>
    <name>zk::HistoryListWindow</name>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
</context>
<context>
    <name>zk::InputForm</name>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>編集する文字列</source>
        <translation>Text to edit</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>フォントサイズを大きくします</source>
        <translation>Larger font</translation>
    </message>
    <message>
        <source>フォントサイズを小さくします</source>
        <translation>Smaller font</translation>
    </message>
    <message>
        <source>コマンドラインスイッチ</source>
        <translation>Command-line switches</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
</context>
<context>
    <name>zk::MainWindow</name>
    <message>
        <source> 〆</source>
        <extracomment>Tail of the tray menu&apos;s first item (after the version): it only closes the menu.</extracomment>
        <translation> close</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>zk::MessageBox</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zk::MonitorPanel</name>
    <message>
        <source>出力文言</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>出力文言で監視</source>
        <translation>Watch for a text on the screen</translation>
    </message>
    <message>
        <source>CPU使用率</source>
        <translation>CPU</translation>
    </message>
    <message>
        <source>CPU使用率で監視</source>
        <translation>Watch the CPU usage</translation>
    </message>
    <message>
        <source>電源</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>電源（外部、バッテリー）を監視</source>
        <translation>Watch the power supply (mains, battery)</translation>
    </message>
    <message>
        <source>監視</source>
        <translation>Watch</translation>
    </message>
    <message>
        <source>監視する</source>
        <translation>Watch</translation>
    </message>
</context>
<context>
    <name>zk::MultiRun</name>
    <message>
        <source>%1 &#x3000;予定時刻 %2 %3</source>
        <extracomment>Caption while counting down: %1 time left, %2 when the step runs, %3 the operation.</extracomment>
        <translation>%1  due %2 %3</translation>
    </message>
</context>
<context>
    <name>zk::MultiScheduleFrame</name>
    <message>
        <source>時刻昇順</source>
        <translation>By time</translation>
    </message>
    <message>
        <source>時</source>
        <translation>Hour</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>処理</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>起動アプリ</source>
        <translation>App to start</translation>
    </message>
    <message>
        <source>復帰時刻：現在時刻より前は翌日扱い</source>
        <translation>Wake time: a time before now means tomorrow</translation>
    </message>
    <message>
        <source>上下に順序入れ替え</source>
        <translation>Move up or down</translation>
    </message>
    <message>
        <source>上へ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>下へ</source>
        <translation>Down</translation>
    </message>
    <message>
        <source> 処理</source>
        <translation> action</translation>
    </message>
    <message>
        <source> 起動アプリ</source>
        <translation> app to start</translation>
    </message>
    <message>
        <source> 参照</source>
        <translation> browse</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>リストを全てクリアします。よろしいですか？</source>
        <translation>Clear the whole list?</translation>
    </message>
    <message>
        <source>起動ファイルの選択</source>
        <translation>Choose the file to start</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>zk::NumberBoxes</name>
    <message>
        <source> 上</source>
        <translation> up</translation>
    </message>
    <message>
        <source> 下</source>
        <translation> down</translation>
    </message>
</context>
<context>
    <name>zk::OperationPanel</name>
    <message>
        <source>処理</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>分後</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>時刻</source>
        <translation>At</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>仕掛かり中でも強制終了します。</source>
        <translation>Force, even if work is unsaved.</translation>
    </message>
</context>
<context>
    <name>zk::PhrasePage</name>
    <message>
        <source>文言</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>出現時</source>
        <translation>Appears</translation>
    </message>
    <message>
        <source>上記の文言が含まれるポップアップメッセージ表示時に実行</source>
        <translation>Run when a message containing the text above appears</translation>
    </message>
    <message>
        <source>消失時</source>
        <translation>Disappears</translation>
    </message>
    <message>
        <source>上記の文言が画面上のポップアップメッセージから表示されなくなった時に実行</source>
        <translation>Run when no message on the screen shows the text above any more</translation>
    </message>
    <message>
        <source>文言監視にIEドキュメントを含める（負荷大）</source>
        <translation>Also search web pages (heavy)</translation>
    </message>
</context>
<context>
    <name>zk::PowerPage</name>
    <message>
        <source>処理開始までの時間を秒単位で指定</source>
        <translation>Seconds before the action starts</translation>
    </message>
    <message>
        <source>バッテリー動作時</source>
        <translation>On battery,</translation>
    </message>
    <message>
        <source>秒間入力無い時に実行</source>
        <translation>s without input: run</translation>
    </message>
    <message>
        <source>電源状態</source>
        <translation>Power</translation>
    </message>
</context>
<context>
    <name>zk::PowerSequence</name>
    <message>
        <source>強制終了します。</source>
        <translation>Forcing the operation.</translation>
    </message>
    <message>
        <source>処理中の作業を中止して下さい。</source>
        <translation>Stop the work in progress.</translation>
    </message>
    <message>
        <source>復帰待中</source>
        <translation>Waiting for wake-up</translation>
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
<context>
    <name>zk::PowerStateWindow</name>
    <message>
        <source>電源状態表示</source>
        <translation>Power state</translation>
    </message>
    <message>
        <source>バッテリなし</source>
        <translation>No battery</translation>
    </message>
</context>
<context>
    <name>zk::QuickPanel</name>
    <message>
        <source>即実行</source>
        <translation>Run now</translation>
    </message>
</context>
<context>
    <name>zk::ResumePanel</name>
    <message>
        <source>復帰</source>
        <translation>Wake</translation>
    </message>
    <message>
        <source>指定時刻にコンピュータを復帰させます。</source>
        <translation>Wake the computer at the given time.</translation>
    </message>
    <message>
        <source>復帰機能のみ使用</source>
        <translation>Wake only</translation>
    </message>
    <message>
        <source>復帰時刻</source>
        <translation>Wake at</translation>
    </message>
    <message>
        <source>スタンバイ/休止後、この分数後に復帰します</source>
        <translation>Wake this many minutes after suspend or hibernation</translation>
    </message>
    <message>
        <source>分後に復帰</source>
        <translation>min later</translation>
    </message>
    <message>
        <source>クリア</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>復帰時刻と起動アプリを消去します</source>
        <translation>Clear the wake time and the app to start</translation>
    </message>
    <message>
        <source>リスト値セット</source>
        <translation>From list</translation>
    </message>
    <message>
        <source>復帰リストから曜日毎の復帰時刻と起動アプリをセットします。</source>
        <translation>Take the wake time and app for the day from the wake list.</translation>
    </message>
    <message>
        <source>復帰リスト</source>
        <translation>Wake list</translation>
    </message>
    <message>
        <source>曜日毎の復帰時刻と起動アプリを指定します。</source>
        <translation>Set the wake time and app for each weekday.</translation>
    </message>
    <message>
        <source>復帰曜日</source>
        <translation>Wake days</translation>
    </message>
    <message>
        <source>復帰が有効な曜日を指定</source>
        <translation>Days on which waking is on</translation>
    </message>
    <message>
        <source>復帰状態維持</source>
        <translation>Stay awake</translation>
    </message>
    <message>
        <source>オフ：入力または実行アプリが無い場合スタンバイモードに移行</source>
        <translation>Off: suspend again when there is no input and no app running</translation>
    </message>
    <message>
        <source>復帰時モニターオン</source>
        <translation>Screen on at wake</translation>
    </message>
    <message>
        <source>復帰時にモニターの電源をオン/オフ</source>
        <translation>Turn the screen on (or not) at wake</translation>
    </message>
    <message>
        <source>年</source>
        <comment>date unit</comment>
        <extracomment>Unit after a box of the resume date and time (year, month, day, hour, minute).</extracomment>
        <translation>y</translation>
    </message>
    <message>
        <source>月</source>
        <comment>date unit</comment>
        <translation>m</translation>
    </message>
    <message>
        <source>日</source>
        <comment>date unit</comment>
        <translation>d</translation>
    </message>
    <message>
        <source>時</source>
        <comment>date unit</comment>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <comment>date unit</comment>
        <translation>min</translation>
    </message>
    <message>
        <source>復帰年</source>
        <translation>Wake year</translation>
    </message>
    <message>
        <source>復帰月</source>
        <translation>Wake month</translation>
    </message>
    <message>
        <source>復帰日</source>
        <translation>Wake day</translation>
    </message>
    <message>
        <source>復帰時</source>
        <translation>Wake hour</translation>
    </message>
    <message>
        <source>復帰分</source>
        <translation>Wake minute</translation>
    </message>
    <message>
        <source>日</source>
        <comment>weekday</comment>
        <extracomment>One-letter weekdays, Sunday first.</extracomment>
        <translation>Su</translation>
    </message>
    <message>
        <source>月</source>
        <comment>weekday</comment>
        <translation>Mo</translation>
    </message>
    <message>
        <source>火</source>
        <comment>weekday</comment>
        <translation>Tu</translation>
    </message>
    <message>
        <source>水</source>
        <comment>weekday</comment>
        <translation>We</translation>
    </message>
    <message>
        <source>木</source>
        <comment>weekday</comment>
        <translation>Th</translation>
    </message>
    <message>
        <source>金</source>
        <comment>weekday</comment>
        <translation>Fr</translation>
    </message>
    <message>
        <source>土</source>
        <comment>weekday</comment>
        <translation>Sa</translation>
    </message>
</context>
<context>
    <name>zk::RunEngine</name>
    <message>
        <source>実行できる行がありません。</source>
        <translation>No row can run.</translation>
    </message>
    <message>
        <source>「中止」で戻ります。</source>
        <translation>Press &quot;Stop&quot; to go back.</translation>
    </message>
    <message>
        <source>強制%1</source>
        <extracomment>Warning before the operation %1 runs, with force or soon.</extracomment>
        <translation>Forced %1</translation>
    </message>
    <message>
        <source>まもなく%1</source>
        <translation>%1 soon</translation>
    </message>
    <message>
        <source>中止</source>
        <extracomment>Button of the desktop notice: stop the run.</extracomment>
        <translation>Stop</translation>
    </message>
    <message>
        <source>予定 %1</source>
        <translation>Due %1</translation>
    </message>
    <message>
        <source>連続指定</source>
        <translation>Multi schedule</translation>
    </message>
    <message>
        <source>文言状態検知</source>
        <translation>Phrase detected</translation>
    </message>
    <message>
        <source>復帰待ち中</source>
        <translation>Waiting for wake-up</translation>
    </message>
    <message>
        <source>%1 &#x3000;予定時刻 %2</source>
        <extracomment>Countdown: %1 time left, %2 when the operation runs.</extracomment>
        <translation>%1  due %2</translation>
    </message>
    <message>
        <source>%1 にキャプチャーファイル<byte value="xd"/>
%2 を作成しました。</source>
        <extracomment>%1 is the folder, %2 the file name.</extracomment>
        <translation>Screen capture file created in %1:<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>%1 にキャプチャーファイル<byte value="xd"/>
%2 を作成できませんでした。</source>
        <translation>Could not create the screen capture file in %1:<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>zk::RunPanel</name>
    <message>
        <source>残り時間</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>監視文言状態検知！！</source>
        <translation>Watched text state detected!</translation>
    </message>
    <message>
        <source>現在時刻</source>
        <translation>Current time</translation>
    </message>
    <message>
        <source>復帰予定</source>
        <translation>Next wake</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>連続指定</source>
        <translation>Series</translation>
    </message>
    <message>
        <source>拡張設定</source>
        <translation>More</translation>
    </message>
    <message>
        <source>監視・復帰・表示の設定を表示します</source>
        <translation>Show the watch, wake and display settings</translation>
    </message>
</context>
<context>
    <name>zk::SplashWindow</name>
    <message>
        <source>通知</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>残り秒数</source>
        <translation>Seconds left</translation>
    </message>
    <message>
        <source>秒後に閉じます</source>
        <translation>s until this closes</translation>
    </message>
</context>
<context>
    <name>zk::TextViewWindow</name>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>コマンドライン生成</source>
        <translation>Command line</translation>
    </message>
    <message>
        <source>コマンドライン</source>
        <translation>Command line</translation>
    </message>
</context>
<context>
    <name>zk::TrayNoticeWindow</name>
    <message>
        <source>タスクトレイ収納</source>
        <translation>Hidden in the tray</translation>
    </message>
    <message>
        <source>タスクトレイに収納しました。</source>
        <translation>Hidden in the system tray.</translation>
    </message>
</context>
<context>
    <name>zk::WeekWindow</name>
    <message>
        <source>基本</source>
        <extracomment>Rows of the resume list: the default row, then one row per weekday.</extracomment>
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
        <source>復帰リスト</source>
        <translation>Wake list</translation>
    </message>
    <message>
        <source>個別曜日の指定が無い場合は、この基本設定が適用されます</source>
        <translation>Used on days that have no row of their own</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>起動アプリ</source>
        <translation>app to start</translation>
    </message>
    <message>
        <source>復帰時に起動したいプログラムを右のボタンから選択。ダブルクリックで入力フォーム表示</source>
        <translation>Program to start at wake: choose it with the button on the right; double-click to edit</translation>
    </message>
    <message>
        <source> 時</source>
        <translation> hour</translation>
    </message>
    <message>
        <source> 分</source>
        <translation> minute</translation>
    </message>
    <message>
        <source> 上</source>
        <translation> up</translation>
    </message>
    <message>
        <source> 下</source>
        <translation> down</translation>
    </message>
    <message>
        <source>起動するプログラムを選択して下さい</source>
        <translation>Choose the program to start</translation>
    </message>
    <message>
        <source> 参照</source>
        <translation> browse</translation>
    </message>
    <message>
        <source>復帰時</source>
        <translation>At wake</translation>
    </message>
    <message>
        <source>全てクリア</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>フォームを閉じます</source>
        <translation>Close this window</translation>
    </message>
    <message>
        <source>フィールドクリア確認</source>
        <translation>Clear all fields</translation>
    </message>
    <message>
        <source>全フィールドをクリアします。よろしいですか？</source>
        <translation>Clear every field?</translation>
    </message>
    <message>
        <source>起動ファイルの選択</source>
        <translation>Choose the file to start</translation>
    </message>
    <message>
        <source>すべてのファイル(*.*) (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
</TS>
