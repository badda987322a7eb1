<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>ステージエディタ</source>
        <translation>Stage editor</translation>
    </message>
</context>
<context>
    <name>Browser</name>
    <message>
        <source>xdg-open を起動できません: %1</source>
        <translation>Cannot start xdg-open: %1</translation>
    </message>
    <message>
        <source>xdg-open が終了コード %1 で終わりました</source>
        <translation>xdg-open ended with exit code %1</translation>
    </message>
    <message>
        <source>xdg-open が見つかりません</source>
        <translation>xdg-open was not found</translation>
    </message>
    <message>
        <source>既定のブラウザがありません</source>
        <translation>There is no default browser</translation>
    </message>
</context>
<context>
    <name>CEventTool</name>
    <message>
        <source>イベントツール</source>
        <translation>Event Tool</translation>
    </message>
    <message>
        <source>条件挿入</source>
        <translation>Insert Condition</translation>
    </message>
    <message>
        <source>コマンド挿入</source>
        <translation>Insert Command</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>「%1」の文字「%2」は Shift-JIS (CP932) で保存できないため、除いて保存しました。</source>
        <translation>The characters &quot;%2&quot; in &quot;%1&quot; cannot be stored in Shift-JIS (CP932), so they were left out.</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>描画ツール(&amp;D)</source>
        <translation>&amp;Drawing Tools</translation>
    </message>
    <message>
        <source>%1（キー %2）</source>
        <translation>%1 (key %2)</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ</source>
        <translation>Toolbar</translation>
    </message>
</context>
<context>
    <name>CNewBlockDlg</name>
    <message>
        <source>新規ブロックの作成</source>
        <translation>New Block Layout</translation>
    </message>
    <message>
        <source>ブロックサイズ</source>
        <translation>Block size</translation>
    </message>
    <message>
        <source>横</source>
        <translation>W</translation>
    </message>
    <message>
        <source>×&#x3000;縦</source>
        <translation>×  H</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
</context>
<context>
    <name>CPlacementTool</name>
    <message>
        <source>配置ツール</source>
        <translation>Placement Tool</translation>
    </message>
    <message>
        <source>ブロック種</source>
        <translation>Block kind</translation>
    </message>
    <message>
        <source>%1（キー %2）</source>
        <translation>%1 (key %2)</translation>
    </message>
    <message>
        <source>ブロック参照表示</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>不透明</source>
        <translation>Opaque</translation>
    </message>
    <message>
        <source>非表示</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>線表示</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>点表示</source>
        <translation>Dots</translation>
    </message>
    <message>
        <source>ブロック数</source>
        <translation>Blocks</translation>
    </message>
    <message>
        <source>計測</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>描画ツール</source>
        <translation>Drawing tools</translation>
    </message>
</context>
<context>
    <name>CPropertyPanel</name>
    <message>
        <source>プロパティ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>実行時サイズ</source>
        <translation>Run size</translation>
    </message>
    <message>
        <source>▼ブロック設定</source>
        <translation>▼Blocks</translation>
    </message>
    <message>
        <source>新規作成</source>
        <translation>New</translation>
    </message>
    <message>
        <source>▼ボール設定</source>
        <translation>▼Ball</translation>
    </message>
    <message>
        <source>▼パドル設定</source>
        <translation>▼Paddle</translation>
    </message>
    <message>
        <source>▼デフォルトオプション設定</source>
        <translation>▼Default options</translation>
    </message>
    <message>
        <source>キーボード操作</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>逆方向反射</source>
        <translation>Edge reverse</translation>
    </message>
    <message>
        <source>ブロック表示</source>
        <translation>Show blocks</translation>
    </message>
    <message>
        <source>タイマー表示</source>
        <translation>Show timer</translation>
    </message>
    <message>
        <source>サウンド</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>ランキング機能</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>ヒットエフェクト</source>
        <translation>Hit effect</translation>
    </message>
    <message>
        <source>衝突判定軽量化</source>
        <translation>Light collision</translation>
    </message>
    <message>
        <source>JPEGファイル (*.jpeg *.jpg)</source>
        <translation>JPEG files (*.jpeg *.jpg)</translation>
    </message>
</context>
<context>
    <name>ChtmlDlg</name>
    <message>
        <source>htmlファイルの書き出し</source>
        <translation>Export HTML File</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ゲーム領域背景色</source>
        <translation>Game background</translation>
    </message>
    <message>
        <source>ページ背景色</source>
        <translation>Page background</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>注釈部</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Below</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>設定ファイル指定</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>Ruffle で再生できるようにする</source>
        <translation>Make it playable with Ruffle</translation>
    </message>
    <message>
        <source>「%1」に Shift-JIS で書けない文字があります。</source>
        <translation>“%1” has characters that Shift-JIS cannot write.</translation>
    </message>
    <message>
        <source>タイトルに &quot; &lt; &gt; &amp; のいずれかが含まれています。タイトルはそのままページに書き込まれるため、ページの表示が崩れます。

このまま書き出しますか?</source>
        <translation>The title contains one of &quot; &lt; &gt; &amp;. The title is written into the page as it is, so the page will not show correctly.

Export it anyway?</translation>
    </message>
</context>
<context>
    <name>Core</name>
    <message>
        <source>画像サイズ</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>前景ファイル</source>
        <translation>Foreground</translation>
    </message>
    <message>
        <source>背景ファイル</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>最小角度</source>
        <translation>Min angle</translation>
    </message>
    <message>
        <source>最大角度</source>
        <translation>Max angle</translation>
    </message>
    <message>
        <source>直径</source>
        <translation>Diameter</translation>
    </message>
    <message>
        <source>スピード</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>衝突判定精度</source>
        <translation>Collision precision</translation>
    </message>
    <message>
        <source>キーボード使用時移動速度</source>
        <translation>Keyboard move speed</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>厚さ</source>
        <translation>Thickness</translation>
    </message>
    <message>
        <source>スマッシュヒット幅</source>
        <translation>Smash hit width</translation>
    </message>
    <message>
        <source>エッジ幅</source>
        <translation>Edge width</translation>
    </message>
    <message>
        <source>横サイズ</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>縦サイズ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>パドル領域高</source>
        <translation>Paddle area height</translation>
    </message>
    <message>
        <source>プレイヤー機数</source>
        <translation>Lives</translation>
    </message>
    <message>
        <source>ブロックマスク</source>
        <translation>Block mask</translation>
    </message>
    <message>
        <source>ボール速度ユーザ設定</source>
        <translation>Ball speed choice</translation>
    </message>
    <message>
        <source>パドル速度ユーザ設定</source>
        <translation>Paddle speed choice</translation>
    </message>
    <message>
        <source>通常ブロック</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>２倍耐久ブロック</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>３倍耐久ブロック</source>
        <translation>Triple</translation>
    </message>
    <message>
        <source>破壊不能ブロック</source>
        <translation>Unbreakable</translation>
    </message>
    <message>
        <source>透過ブロック</source>
        <translation>Pass-through</translation>
    </message>
    <message>
        <source>アイテムブロック</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>加速ブロック</source>
        <translation>Speed-up</translation>
    </message>
    <message>
        <source>グループ</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>空</source>
        <translation>Empty</translation>
    </message>
    <message>
        <source>切り替え</source>
        <translation>Toggle</translation>
    </message>
    <message>
        <source>ブロックの切り替え</source>
        <translation>Toggle blocks</translation>
    </message>
    <message>
        <source>ペン</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>矩形</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>塗りつぶし</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>消しゴム</source>
        <translation>Eraser</translation>
    </message>
    <message>
        <source>スポイト</source>
        <translation>Pick</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>ファイルをオープンできません。</source>
        <translation>Cannot open the file.</translation>
    </message>
    <message>
        <source>ファイルをオープンできません。
%1: %2</source>
        <translation>Cannot open the file.
%1: %2</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file was not found.</translation>
    </message>
    <message>
        <source>ファイルを読み書きする権限がありません。</source>
        <translation>You have no permission to read or write the file.</translation>
    </message>
    <message>
        <source>フォルダーです。</source>
        <translation>It is a folder.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます。</source>
        <translation>The file is too large.</translation>
    </message>
    <message>
        <source>JPEG ファイルではありません。</source>
        <translation>It is not a JPEG file.</translation>
    </message>
    <message>
        <source>JPEG ファイルが壊れているか、読み込めない形式です。</source>
        <translation>The JPEG file is damaged or in a form that cannot be read.</translation>
    </message>
    <message>
        <source>画像が大きすぎます（67,108,864 画素まで）。</source>
        <translation>The picture is too large (67,108,864 pixels at most).</translation>
    </message>
    <message>
        <source>ステージファイルではありません。</source>
        <translation>It is not a stage file.</translation>
    </message>
    <message>
        <source>ファイルを読み込めません。</source>
        <translation>Cannot read the file.</translation>
    </message>
    <message>
        <source>%1: 画像ファイルが途中で切れています。読み込めた部分だけを表示します。</source>
        <translation>%1: The picture file is cut short. Only the part that could be read is shown.</translation>
    </message>
    <message>
        <source>%1: 画像ファイルに壊れた部分があります。読み込めたとおりに表示します。</source>
        <translation>%1: Part of the picture file is damaged. It is shown as far as it could be read.</translation>
    </message>
    <message>
        <source>このムービー (SWF 5 以前) では、Ruffle で再生すると日本語の文字が正しく表示されないことがあります。</source>
        <translation>In this movie (SWF 5 or earlier), Japanese text may not show correctly when it is played in Ruffle.</translation>
    </message>
    <message>
        <source>%1 行目: 数値ではない項目があります。</source>
        <translation>Line %1: an item is not a number.</translation>
    </message>
    <message>
        <source>%1 行目: 32 ビットに収まらない数値があります。</source>
        <translation>Line %1: a number does not fit in 32 bits.</translation>
    </message>
    <message>
        <source>%1 行目: 100 列を超えています。</source>
        <translation>Line %1: more than 100 columns.</translation>
    </message>
    <message>
        <source>%1 行目が空です。</source>
        <translation>Line %1 is empty.</translation>
    </message>
    <message>
        <source>100 行を超えています。</source>
        <translation>More than 100 lines.</translation>
    </message>
    <message>
        <source>%1 行目の項目の数が 1 行目と違います。</source>
        <translation>Line %1 holds a different number of items than line 1.</translation>
    </message>
    <message>
        <source>セルがありません。</source>
        <translation>There are no cells.</translation>
    </message>
</context>
<context>
    <name>DataExchange</name>
    <message>
        <source>「%1」の文字「%2」は Shift-JIS (CP932) で保存できないため、入力できません。</source>
        <translation>“%1”: the characters “%2” cannot be saved in Shift-JIS (CP932), so they cannot be entered.</translation>
    </message>
    <message>
        <source>「%1」: 整数を入力してください。</source>
        <translation>“%1”: enter a whole number.</translation>
    </message>
</context>
<context>
    <name>DiskWatcher</name>
    <message>
        <source>%1 は他のプログラムによって変更されました。
このステージには保存されていない変更があります。読み込み直すと、その変更は失われます。

読み込み直しますか？</source>
        <translation>%1 was changed by another program.
This stage has unsaved changes. Reloading it loses them.

Reload it?</translation>
    </message>
    <message>
        <source>%1 は他のプログラムによって変更されました。

読み込み直しますか？</source>
        <translation>%1 was changed by another program.

Reload it?</translation>
    </message>
    <message>
        <source>%1 は他のプログラムが書き込みを続けているため、読み込み直しませんでした。</source>
        <translation>%1 was not reloaded: another program is still writing it.</translation>
    </message>
    <message>
        <source>%1 が見つからないため、読み込み直しませんでした。</source>
        <translation>%1 was not reloaded: it cannot be found.</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>書き込んだ内容を読み戻せません。</source>
        <translation>What was written cannot be read back.</translation>
    </message>
    <message>
        <source>中身が空です</source>
        <translation>it is empty</translation>
    </message>
    <message>
        <source>途中で切れています</source>
        <translation>it is cut short</translation>
    </message>
    <message>
        <source>項目が欠けています</source>
        <translation>entries are missing</translation>
    </message>
    <message>
        <source>元のファイル名がわかりません</source>
        <translation>the original file name is unknown</translation>
    </message>
    <message>
        <source>説明ファイルが壊れています</source>
        <translation>its description file is damaged</translation>
    </message>
    <message>
        <source>読み込めません (%1)</source>
        <translation>it cannot be read (%1)</translation>
    </message>
    <message>
        <source>%1 を作成できません。</source>
        <translation>%1 cannot be created.</translation>
    </message>
    <message>
        <source>%1 をロックできません。</source>
        <translation>%1 cannot be locked.</translation>
    </message>
    <message>
        <source>復元用のフォルダーがありません。</source>
        <translation>There is no recovery folder.</translation>
    </message>
    <message>
        <source>フォルダーです。</source>
        <translation>It is a folder.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>It is not a regular file.</translation>
    </message>
    <message>
        <source>ファイルは書き込み禁止になっています。</source>
        <translation>The file is write-protected.</translation>
    </message>
    <message>
        <source>開いているファイル %1 そのものです。書き出しませんでした。</source>
        <translation>It is the open file %1 itself. Nothing was written.</translation>
    </message>
    <message>
        <source>書き込めませんでした。</source>
        <translation>It could not be written.</translation>
    </message>
    <message>
        <source>%1 (読み取り専用)</source>
        <translation>%1 (read-only)</translation>
    </message>
</context>
<context>
    <name>DocumentManager</name>
    <message>
        <source>・盤面 (100 × 100) に収まらないブロック %1 個</source>
        <translation>- %1 blocks outside the board (100 × 100)</translation>
    </message>
    <message>
        <source>・知らない項目: %1</source>
        <translation>- Unknown items: %1</translation>
    </message>
    <message>
        <source>・形式の合わない値: %1</source>
        <translation>- Values in the wrong form: %1</translation>
    </message>
    <message>
        <source>・2 行目以降の %1 行</source>
        <translation>- %1 lines after the first line</translation>
    </message>
    <message>
        <source>保存先のフォルダーが見つかりません。</source>
        <translation>The folder to save in was not found.</translation>
    </message>
    <message>
        <source>フォルダーと同じ名前では保存できません。</source>
        <translation>Cannot save under the name of a folder.</translation>
    </message>
    <message>
        <source>ファイルは書き込み禁止になっています。</source>
        <translation>The file is write-protected.</translation>
    </message>
    <message>
        <source>保存先のフォルダーに書き込む権限がありません。</source>
        <translation>You have no permission to write in the folder to save in.</translation>
    </message>
    <message>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>ステージファイル (*.stage *.txt)</source>
        <translation>Stage files (*.stage *.txt)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>%1 は別の rkedit (プロセス %2) で開かれています。
両方で保存すると、一方の変更が失われます。</source>
        <translation>%1 is open in another rkedit (process %2).
If both save it, the changes of one are lost.</translation>
    </message>
    <message>
        <source>読み取り専用で開く</source>
        <translation>Open Read-Only</translation>
    </message>
    <message>
        <source>それでも開く</source>
        <translation>Open Anyway</translation>
    </message>
    <message>
        <source>%1 の横に、保存が途中で終わったときの一時ファイルが残っています。
%2
保存されなかった編集内容が入っている可能性があります。確かめてから、不要なら削除してください。</source>
        <translation>Beside %1 there is a temporary file left by a save that did not finish.
%2
It may hold edits that were not saved. Look at it, and delete it if you do not need it.</translation>
    </message>
    <message>
        <source>・ファイルの途中で切れた先の内容</source>
        <translation>- What followed where the file is cut short</translation>
    </message>
    <message>
        <source>%1 は途中で切れています (最後の項目が「&amp;」で閉じていません)。書き込みの途中か、壊れたファイルです。
このファイルに保存すると、読み込めた部分だけが残ります。</source>
        <translation>%1 is cut short (its last item does not end with &quot;&amp;&quot;). It is being written, or it is damaged.
Saving to this file keeps only the part that could be read.</translation>
    </message>
    <message>
        <source>%1 には、読み込まなかった次の内容があります。このファイルに保存すると失われます。
%2</source>
        <translation>%1 holds the following, which was not read. Saving to this file loses it.
%2</translation>
    </message>
    <message>
        <source>%1 は読み取り専用で開いています。上書き保存できません。
別の名前で保存してください。</source>
        <translation>%1 is open read-only and cannot be saved over.
Save it under another name.</translation>
    </message>
    <message>
        <source>次の項目の値は「&amp;」または「,」を含むため、保存したファイルを開き直すと同じ値に戻りません。
%1

このまま保存しますか?</source>
        <translation>The values of the following items hold &quot;&amp;&quot; or &quot;,&quot;, so they will not read back the same when the saved file is opened again.
%1

Save anyway?</translation>
    </message>
    <message>
        <source>%1 を開いたときに読み込まなかった次の内容は、上書き保存すると失われます。
%2

保存しますか?</source>
        <translation>The following, which was not read when %1 was opened, is lost when it is saved over.
%2

Save?</translation>
    </message>
    <message>
        <source>%1 に保存できません。
%1: %2</source>
        <translation>Cannot save to %1.
%1: %2</translation>
    </message>
    <message>
        <source>画像 %1 はステージと別のフォルダーにあります。ステージのフォルダーには同じ名前の別の画像 %2 があり、ゲームはそちらを読み込みます。

%2 を置き換えますか?</source>
        <translation>The picture %1 is in another folder than the stage. The stage&apos;s folder holds another picture of the same name, %2, and the game reads that one.

Replace %2?</translation>
    </message>
    <message>
        <source>置き換える</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>置き換えずに保存</source>
        <translation>Save Without Replacing</translation>
    </message>
    <message>
        <source>画像 %1 はステージと別のフォルダーにあります。ゲームは画像をステージと同じフォルダーから読み込みます。

%2 にコピーしますか?</source>
        <translation>The picture %1 is in another folder than the stage. The game reads pictures from the stage&apos;s own folder.

Copy it to %2?</translation>
    </message>
    <message>
        <source>コピーする</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>コピーせずに保存</source>
        <translation>Save Without Copying</translation>
    </message>
    <message>
        <source>%1 を %2 にコピーできません。
%3: %4</source>
        <translation>Cannot copy %1 to %2.
%3: %4</translation>
    </message>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation>Save changes to %1?</translation>
    </message>
</context>
<context>
    <name>HtmlExport</name>
    <message>
        <source>HTMLファイル %1 を書き出せませんでした。
%2</source>
        <translation>The HTML file %1 could not be written.
%2</translation>
    </message>
    <message>
        <source>Ruffle が見つからないため、書き出せませんでした。
%1</source>
        <translation>Ruffle cannot be found, so nothing was written.
%1</translation>
    </message>
    <message>
        <source>%1
Ruffle %2 に置き換えますか？</source>
        <translation>%1
Replace it with Ruffle %2?</translation>
    </message>
    <message>
        <source>htmlファイル (*.html *.htm)</source>
        <translation>HTML files (*.html *.htm)</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>システムに合わせる(&amp;S)</source>
        <translation>Follow the &amp;System</translation>
    </message>
    <message>
        <source>日本語(&amp;J)</source>
        <translation>&amp;Japanese</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect at the next start</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <source>開く(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <source>最近使ったﾌｧｲﾙ</source>
        <translation>Recent Files</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>rkedit のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About rkedit...</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)	Ctrl+S</source>
        <translation>&amp;Save	Ctrl+S</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>HTMLファイルの書き出し</source>
        <translation>Export HTML File</translation>
    </message>
    <message>
        <source>テストプレイ(&amp;P)	F5</source>
        <translation>Test &amp;Play	F5</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)	Ctrl+Z</source>
        <translation>&amp;Undo	Ctrl+Z</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)	Ctrl+Y</source>
        <translation>&amp;Redo	Ctrl+Y</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)	Ctrl+X</source>
        <translation>Cu&amp;t	Ctrl+X</translation>
    </message>
    <message>
        <source>コピー(&amp;C)	Ctrl+C</source>
        <translation>&amp;Copy	Ctrl+C</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)	Ctrl+V</source>
        <translation>&amp;Paste	Ctrl+V</translation>
    </message>
    <message>
        <source>同じ位置に貼り付け	Ctrl+Shift+V</source>
        <translation>Paste in Place	Ctrl+Shift+V</translation>
    </message>
    <message>
        <source>削除(&amp;D)	Del</source>
        <translation>&amp;Delete	Del</translation>
    </message>
    <message>
        <source>すべて選択(&amp;A)	Ctrl+A</source>
        <translation>Select &amp;All	Ctrl+A</translation>
    </message>
    <message>
        <source>選択の解除	Ctrl+D</source>
        <translation>Deselect	Ctrl+D</translation>
    </message>
    <message>
        <source>空のセルも貼り付ける</source>
        <translation>Paste Empty Cells Too</translation>
    </message>
    <message>
        <source>拡大(&amp;I)	Ctrl++</source>
        <translation>Zoom &amp;In	Ctrl++</translation>
    </message>
    <message>
        <source>縮小(&amp;O)	Ctrl+-</source>
        <translation>Zoom &amp;Out	Ctrl+-</translation>
    </message>
    <message>
        <source>100%(&amp;1)	Ctrl+0</source>
        <translation>&amp;100%	Ctrl+0</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳに合わせる(&amp;W)	Ctrl+9</source>
        <translation>Fit to &amp;Window	Ctrl+9</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳ(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>新しいｳｨﾝﾄﾞｳを開く(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>重ねて表示(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>並べて表示(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>ｱｲｺﾝの整列(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>タブで表示(&amp;B)</source>
        <translation>Ta&amp;bbed</translation>
    </message>
    <message>
        <source>ツール</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>プロパティ(&amp;P)</source>
        <translation>&amp;Properties</translation>
    </message>
    <message>
        <source>配置ツール(&amp;A)</source>
        <translation>Pl&amp;acement Tool</translation>
    </message>
    <message>
        <source>アイテムツール(&amp;I)</source>
        <translation>&amp;Item Tool</translation>
    </message>
    <message>
        <source>イベントツール(&amp;E)</source>
        <translation>&amp;Event Tool</translation>
    </message>
    <message>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>データ＜ＤＯＣ</source>
        <translation>Data &lt; DOC</translation>
    </message>
    <message>
        <source>データ＞ＤＯＣ</source>
        <translation>Data &gt; DOC</translation>
    </message>
    <message>
        <source>ダイアログＯＮ</source>
        <translation>Dialog ON</translation>
    </message>
    <message>
        <source>ダイアログOFF</source>
        <translation>Dialog OFF</translation>
    </message>
    <message>
        <source>変形(&amp;F)</source>
        <translation>Trans&amp;form</translation>
    </message>
    <message>
        <source>左右反転(&amp;H)</source>
        <translation>Flip &amp;Horizontally</translation>
    </message>
    <message>
        <source>上下反転(&amp;V)</source>
        <translation>Flip &amp;Vertically</translation>
    </message>
    <message>
        <source>180° 回転(&amp;R)</source>
        <translation>&amp;Rotate 180°</translation>
    </message>
    <message>
        <source>左へ 1 セルずらす</source>
        <translation>Shift Left 1 Cell</translation>
    </message>
    <message>
        <source>右へ 1 セルずらす</source>
        <translation>Shift Right 1 Cell</translation>
    </message>
    <message>
        <source>上へ 1 セルずらす</source>
        <translation>Shift Up 1 Cell</translation>
    </message>
    <message>
        <source>下へ 1 セルずらす</source>
        <translation>Shift Down 1 Cell</translation>
    </message>
</context>
<context>
    <name>Panel</name>
    <message>
        <source>プロパティ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>配置ツール</source>
        <translation>Placement Tool</translation>
    </message>
    <message>
        <source>イベントツール</source>
        <translation>Event Tool</translation>
    </message>
</context>
<context>
    <name>Prompt</name>
    <message>
        <source>新規にﾌｧｲﾙを作成
新規ﾌｧｲﾙ</source>
        <translation>Create a new file
New File</translation>
    </message>
    <message>
        <source>既存のﾌｧｲﾙを開く
開く</source>
        <translation>Open an existing file
Open</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを閉じる
閉じる</source>
        <translation>Close the current file
Close</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを上書きして保存
保存</source>
        <translation>Save the current file
Save</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを新しい名前で保存
名前を付けて保存</source>
        <translation>Save the current file under a new name
Save As</translation>
    </message>
    <message>
        <source>作業中のﾌｧｲﾙを印刷
印刷</source>
        <translation>Print the current file
Print</translation>
    </message>
    <message>
        <source>このﾌｧｲﾙを開く</source>
        <translation>Open this file</translation>
    </message>
    <message>
        <source>選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存
ｺﾋﾟｰ</source>
        <translation>Copy the selection to the clipboard
Copy</translation>
    </message>
    <message>
        <source>選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに移動
切り取り</source>
        <translation>Cut the selection to the clipboard
Cut</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞの内容を貼り付け
貼り付け</source>
        <translation>Paste the clipboard&apos;s contents
Paste</translation>
    </message>
    <message>
        <source>直前に行った動作を元に戻す
元に戻す</source>
        <translation>Undo the last action
Undo</translation>
    </message>
    <message>
        <source>直前に元に戻した動作をやり直す
やり直し</source>
        <translation>Redo the last undone action
Redo</translation>
    </message>
    <message>
        <source>作業中のｳｨﾝﾄﾞｳを複写して表示
新規ｳｨﾝﾄﾞｳ</source>
        <translation>Open another window onto the current stage
New Window</translation>
    </message>
    <message>
        <source>ｱｲｺﾝをｳｨﾝﾄﾞｳの下に整列
ｱｲｺﾝの整列</source>
        <translation>Arrange the icons along the bottom of the window
Arrange Icons</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳを重ねて表示
重ねて表示</source>
        <translation>Show the windows overlapping
Cascade</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳを並べて表示
並べて表示</source>
        <translation>Show the windows side by side
Tile</translation>
    </message>
    <message>
        <source>ｳｨﾝﾄﾞｳをタブで切り替えて表示
タブで表示</source>
        <translation>Show the windows as tabs
Tabbed</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示
ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Show the program&apos;s information, version and copyright
About</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示
終了</source>
        <translation>Quit the application, asking to save the files
Exit</translation>
    </message>
    <message>
        <source>次のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え
次のﾍﾟｲﾝ</source>
        <translation>Switch to the next window pane
Next Pane</translation>
    </message>
    <message>
        <source>前のｳｨﾝﾄﾞｳ ﾍﾟｲﾝに切り替え
前のﾍﾟｲﾝ</source>
        <translation>Switch to the previous window pane
Previous Pane</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰの表示/非表示
ﾂｰﾙ ﾊﾞｰの表示切り替え</source>
        <translation>Show or hide the toolbar
Toggle Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示
ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <source>HTMLファイルの作成</source>
        <translation>Create an HTML file</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞを拡大して表示
拡大</source>
        <translation>Show the stage larger
Zoom In</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞを縮小して表示
縮小</source>
        <translation>Show the stage smaller
Zoom Out</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞを 100% で表示
100%</source>
        <translation>Show the stage at 100%
100%</translation>
    </message>
    <message>
        <source>ｽﾃｰｼﾞ全体をｳｨﾝﾄﾞｳに合わせて表示
ｳｨﾝﾄﾞｳに合わせる</source>
        <translation>Fit the whole stage to the window
Fit to Window</translation>
    </message>
    <message>
        <source>ステージをブラウザで再生 (Ruffle)
テストプレイ</source>
        <translation>Play the stage in the browser (Ruffle)
Test Play</translation>
    </message>
    <message>
        <source>ﾚﾃﾞｨ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>ｶﾅ</source>
        <translation>KANA</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>  [破損: %1。新しい無題のステージとして開きます]</source>
        <translation>  [damaged: %1. Opens as a new untitled stage]</translation>
    </message>
    <message>
        <source>・%1  [書き込めないフォルダー]</source>
        <translation>- %1  [folder not writable]</translation>
    </message>
    <message>
        <source>・%1</source>
        <translation>- %1</translation>
    </message>
    <message>
        <source>ほか %1 件（すべては「詳細」に）</source>
        <translation>and %1 more (all of them under Details)</translation>
    </message>
    <message>
        <source>rkedit が正常に終了しなかったため、保存されていない変更の復元用コピーが残っています。

%1

復元しますか？</source>
        <translation>rkedit did not end normally, so recovery copies of unsaved changes are left.

%1

Restore them?</translation>
    </message>
    <message>
        <source>復元する</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>破棄する</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>復元用のコピーを保存できません</source>
        <translation>Recovery copies cannot be saved</translation>
    </message>
    <message>
        <source>復元用のコピーを保存できません。編集内容はこまめに保存してください。
%1</source>
        <translation>Recovery copies cannot be saved. Save your edits often.
%1</translation>
    </message>
    <message>
        <source>次の復元用コピーは壊れているため、新しい無題のステージとして開きました。内容を確かめてから保存してください。
%1</source>
        <translation>These recovery copies are damaged and were opened as new untitled stages. Check their contents before saving them.
%1</translation>
    </message>
    <message>
        <source>次の復元用コピーを読み込めませんでした。
%1</source>
        <translation>These recovery copies could not be read.
%1</translation>
    </message>
    <message>
        <source>次のフォルダーに書き込めないため、復元用コピーを削除できませんでした。次回の起動時にも表示されます。不要なら手動で削除してください。
%1</source>
        <translation>These folders are not writable, so their recovery copies could not be deleted. They are offered again at the next start; delete them by hand if they are not needed.
%1</translation>
    </message>
</context>
<context>
    <name>TestPlay</name>
    <message>
        <source>テストプレイのサーバー (%1) を読み込めません: %2</source>
        <translation>The test play server (%1) cannot be loaded: %2</translation>
    </message>
    <message>
        <source>テストプレイのゲームムービー %1 が見つかりません。
使うムービー (rk.swf) を選び直してください。</source>
        <translation>The game movie for test play, %1, was not found.
Choose the movie to use (rk.swf) again.</translation>
    </message>
    <message>
        <source>テストプレイで使うゲームムービー (rk.swf) を選んでください</source>
        <translation>Choose the game movie (rk.swf) for test play</translation>
    </message>
    <message>
        <source>Flash ムービー (*.swf)</source>
        <translation>Flash movies (*.swf)</translation>
    </message>
    <message>
        <source>すべてのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>%1 は Flash ムービー (SWF) ではありません。</source>
        <translation>%1 is not a Flash movie (SWF).</translation>
    </message>
    <message>
        <source>Ruffle が見つからないため、テストプレイできません。
%1</source>
        <translation>Ruffle was not found, so the stage cannot be test played.
%1</translation>
    </message>
    <message>
        <source>テストプレイの準備ができませんでした。
%1</source>
        <translation>Test play could not be prepared.
%1</translation>
    </message>
    <message>
        <source>テストプレイ: %1</source>
        <translation>Test play: %1</translation>
    </message>
    <message>
        <source>ブラウザを開けませんでした。次のアドレスをブラウザで開いてください。
%1</source>
        <translation>The browser could not be opened. Open this address in a browser:
%1</translation>
    </message>
    <message>
        <source>

理由: %1</source>
        <translation>

Reason: %1</translation>
    </message>
    <message>
        <source>アドレスをコピー</source>
        <translation>Copy Address</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>画像の変更</source>
        <translation>Picture change</translation>
    </message>
    <message>
        <source>ブロックサイズの変更</source>
        <translation>Block size change</translation>
    </message>
    <message>
        <source>%1の変更</source>
        <translation>%1 change</translation>
    </message>
    <message>
        <source>プロパティの変更</source>
        <translation>Properties change</translation>
    </message>
</context>
<context>
    <name>View</name>
    <message>
        <source>コード %1</source>
        <translation>Code %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>クリップボードが空です。</source>
        <translation>The clipboard is empty.</translation>
    </message>
    <message>
        <source>クリップボードにセルがありません。</source>
        <translation>The clipboard holds no cells.</translation>
    </message>
    <message>
        <source>クリップボードの文字はセルとして読めません: %1</source>
        <translation>The clipboard&apos;s text cannot be read as cells: %1</translation>
    </message>
    <message>
        <source>選択 %1 × %2</source>
        <translation>Selection %1 × %2</translation>
    </message>
    <message>
        <source>%1 × %2 のセルをコピーしました。</source>
        <translation>Copied %1 × %2 cells.</translation>
    </message>
    <message>
        <source>切り取り</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>同じ位置に貼り付け</source>
        <translation>Paste in place</translation>
    </message>
    <message>
        <source>クリックか Enter で貼り付け、Esc でやめます。</source>
        <translation>Click or press Enter to paste, Esc to cancel.</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>ステージの外にはみ出した %1 個のセルは貼り付けませんでした。</source>
        <translation>%1 cells outside the stage were not pasted.</translation>
    </message>
    <message>
        <source>複製</source>
        <translation>Duplicate</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>ステージの外に出た %1 個のセルは置かれません。</source>
        <translation>%1 cells outside the stage are not placed.</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip horizontally</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flip vertically</translation>
    </message>
    <message>
        <source>180° 回転</source>
        <translation>Rotate 180°</translation>
    </message>
    <message>
        <source>左へずらす</source>
        <translation>Shift left</translation>
    </message>
    <message>
        <source>右へずらす</source>
        <translation>Shift right</translation>
    </message>
    <message>
        <source>上へずらす</source>
        <translation>Shift up</translation>
    </message>
    <message>
        <source>下へずらす</source>
        <translation>Shift down</translation>
    </message>
    <message>
        <source>ブロックサイズを %1 × %2 にしました。ブロック %3 個を消去しました。</source>
        <translation>The block size is now %1 × %2. %3 blocks were cleared.</translation>
    </message>
    <message>
        <source>ブロック数 %1</source>
        <translation>Blocks: %1</translation>
    </message>
    <message>
        <source>ブロック数 %1（%2）</source>
        <translation>Blocks: %1 (%2)</translation>
    </message>
    <message>
        <source>ステージの画像がまだありません。
プロパティ（ツール → プロパティ）の「前景ファイル」の横のボタンでJPEG ファイルを選ぶと、ここに表示され、ブロックを配置できます。</source>
        <translation>The stage has no picture yet.
Choose a JPEG file with the button beside “Foreground” in the properties panel (Tools → Properties): it shows here, and blocks can be placed on it.</translation>
    </message>
</context>
</TS>
