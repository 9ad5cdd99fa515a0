<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Kaleidomat</name>
    <message>
        <source>ファイル(&amp;F)</source>
        <extracomment>kMenuFile</extracomment>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く(&amp;O)...</source>
        <extracomment>kMenuFileOpen</extracomment>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>保存(&amp;S)...</source>
        <extracomment>kMenuFileSave</extracomment>
        <translation>&amp;Save...</translation>
    </message>
    <message>
        <source>終了</source>
        <extracomment>kMenuFileExit</extracomment>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <extracomment>kMenuFileSaveAs</extracomment>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>前回の盤面を復元(&amp;R)</source>
        <extracomment>kMenuFileRestore</extracomment>
        <translation>&amp;Restore Last Board</translation>
    </message>
    <message>
        <source>実行(&amp;E)</source>
        <extracomment>kMenuExec</extracomment>
        <translation>&amp;Run</translation>
    </message>
    <message>
        <source>開始(&amp;E)</source>
        <extracomment>kMenuExecStart</extracomment>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <extracomment>kMenuExecStop</extracomment>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>ステップ実行(&amp;P)</source>
        <extracomment>kMenuExecStep</extracomment>
        <translation>Ste&amp;p</translation>
    </message>
    <message>
        <source>変化を促す(&amp;A)</source>
        <extracomment>kMenuExecStimulate</extracomment>
        <translation>&amp;Auto-Stimulate</translation>
    </message>
    <message>
        <source>速度(&amp;V)</source>
        <extracomment>kMenuExecSpeed</extracomment>
        <translation>Spee&amp;d</translation>
    </message>
    <message>
        <source>1 世代/秒</source>
        <extracomment>kMenuExecSpeed1</extracomment>
        <translation>1 gen/s</translation>
    </message>
    <message>
        <source>2 世代/秒</source>
        <extracomment>kMenuExecSpeed2</extracomment>
        <translation>2 gen/s</translation>
    </message>
    <message>
        <source>5 世代/秒</source>
        <extracomment>kMenuExecSpeed5</extracomment>
        <translation>5 gen/s</translation>
    </message>
    <message>
        <source>10 世代/秒</source>
        <extracomment>kMenuExecSpeed10</extracomment>
        <translation>10 gen/s</translation>
    </message>
    <message>
        <source>20 世代/秒</source>
        <extracomment>kMenuExecSpeed20</extracomment>
        <translation>20 gen/s</translation>
    </message>
    <message>
        <source>50 世代/秒</source>
        <extracomment>kMenuExecSpeed50</extracomment>
        <translation>50 gen/s</translation>
    </message>
    <message>
        <source>100 世代/秒</source>
        <extracomment>kMenuExecSpeed100</extracomment>
        <translation>100 gen/s</translation>
    </message>
    <message>
        <source>200 世代/秒</source>
        <extracomment>kMenuExecSpeed200</extracomment>
        <translation>200 gen/s</translation>
    </message>
    <message>
        <source>500 世代/秒</source>
        <extracomment>kMenuExecSpeed500</extracomment>
        <translation>500 gen/s</translation>
    </message>
    <message>
        <source>1,000 世代/秒</source>
        <extracomment>kMenuExecSpeed1000, kPanel5Design</extracomment>
        <translation>1,000 gen/s</translation>
    </message>
    <message>
        <source>最高速</source>
        <extracomment>kMenuExecSpeedMax</extracomment>
        <translation>Fastest</translation>
    </message>
    <message>
        <source>編集(&amp;M)</source>
        <extracomment>kMenuEdit</extracomment>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>切り取り(&amp;X)</source>
        <extracomment>kMenuEditCut</extracomment>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <extracomment>kMenuEditCopy</extracomment>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;V)</source>
        <extracomment>kMenuEditPaste</extracomment>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <extracomment>kMenuEditUndo</extracomment>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <extracomment>kMenuEditRedo</extracomment>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>1世代戻る(&amp;B)</source>
        <extracomment>kMenuExecBack</extracomment>
        <translation>&amp;Back One Generation</translation>
    </message>
    <message>
        <source>パターン(&amp;P)</source>
        <extracomment>kMenuPattern</extracomment>
        <translation>&amp;Pattern</translation>
    </message>
    <message>
        <source>登録済(&amp;D)</source>
        <extracomment>kMenuPatternCommon</extracomment>
        <translation>Registere&amp;d</translation>
    </message>
    <message>
        <source>ランダム(&amp;R)</source>
        <extracomment>kMenuPatternRandom</extracomment>
        <translation>&amp;Random</translation>
    </message>
    <message>
        <source>クリア(&amp;C)</source>
        <extracomment>kMenuPatternClear</extracomment>
        <translation>&amp;Clear</translation>
    </message>
    <message>
        <source>色(&amp;L)</source>
        <extracomment>kMenuPatternColor</extracomment>
        <translation>Co&amp;lour</translation>
    </message>
    <message>
        <source>反転(&amp;V)</source>
        <extracomment>kMenuPatternReverse</extracomment>
        <translation>&amp;Flip</translation>
    </message>
    <message>
        <source>左右(&amp;R)</source>
        <extracomment>kMenuPatternReverseRL</extracomment>
        <translation>Left to &amp;Right</translation>
    </message>
    <message>
        <source>上下(&amp;T)</source>
        <extracomment>kMenuPatternReverseTB</extracomment>
        <translation>&amp;Top to Bottom</translation>
    </message>
    <message>
        <source>回転(&amp;T)</source>
        <extracomment>kMenuPatternRotate</extracomment>
        <translation>Ro&amp;tate</translation>
    </message>
    <message>
        <source>拡大(&amp;X)</source>
        <extracomment>kMenuPatternExpand</extracomment>
        <translation>E&amp;xpand</translation>
    </message>
    <message>
        <source>縮小(&amp;E)</source>
        <extracomment>kMenuPatternReduction</extracomment>
        <translation>R&amp;educe</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <extracomment>kMenuView</extracomment>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>立体表示(&amp;D)</source>
        <extracomment>kMenuViewRaised</extracomment>
        <translation>Raise&amp;d Cells</translation>
    </message>
    <message>
        <source>リセット(&amp;R)</source>
        <extracomment>kMenuPopup1Reset</extracomment>
        <translation>&amp;Reset</translation>
    </message>
    <message>
        <source>パターン登録</source>
        <extracomment>kRegisterPattern, kToolTipNewRegistration</extracomment>
        <translation>Register Pattern</translation>
    </message>
    <message>
        <source>世代 = 10,000</source>
        <extracomment>kPanel1Design</extracomment>
        <translation>Gen = 10,000</translation>
    </message>
    <message>
        <source>セル数 = 1,000</source>
        <extracomment>kPanel2Design</extracomment>
        <translation>Cells = 1,000</translation>
    </message>
    <message>
        <source>x = 100, y = 100</source>
        <extracomment>kPanel3Design</extracomment>
        <translation>x = 100, y = 100</translation>
    </message>
    <message>
        <source>世代 = </source>
        <extracomment>kGenerationPrefix</extracomment>
        <translation>Gen = </translation>
    </message>
    <message>
        <source>セル数 = </source>
        <extracomment>kPopulationPrefix</extracomment>
        <translation>Cells = </translation>
    </message>
    <message>
        <source>世代 = 0</source>
        <extracomment>kGenerationReset</extracomment>
        <translation>Gen = 0</translation>
    </message>
    <message>
        <source>全滅しました...</source>
        <extracomment>kExtinct</extracomment>
        <translation>All cells have died...</translation>
    </message>
    <message>
        <source>このプログラムのデータではありません！</source>
        <extracomment>kNotOurData</extracomment>
        <translation>This is not data of this program!</translation>
    </message>
    <message>
        <source>&apos; を上書きしますか？</source>
        <extracomment>kOverwriteSuffix</extracomment>
        <translation>&apos; already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <extracomment>kSaveChanges</extracomment>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>ファイルを保存できませんでした。</source>
        <extracomment>kSaveFailed</extracomment>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>ファイルを開く</source>
        <extracomment>kOpenDialogTitle</extracomment>
        <translation>Open File</translation>
    </message>
    <message>
        <source>ファイルを保存</source>
        <extracomment>kSaveDialogTitle</extracomment>
        <translation>Save File</translation>
    </message>
    <message>
        <source>ライフデータファイル (*.hxa)</source>
        <extracomment>kBoardFilterName</extracomment>
        <translation>Life board files (*.hxa)</translation>
    </message>
    <message>
        <source>ライフパターンファイル (*.hxq)</source>
        <extracomment>kPatternFilterName</extracomment>
        <translation>Life pattern files (*.hxq)</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <extracomment>kAllFilesFilterName</extracomment>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>ファイルを開けませんでした。</source>
        <extracomment>kOpenFailed</extracomment>
        <translation>The file could not be opened.</translation>
    </message>
    <message>
        <source>復元できる盤面がありません。</source>
        <extracomment>kNothingToRestore</extracomment>
        <translation>There is no board to restore.</translation>
    </message>
    <message>
        <source>盤面を保持できません: </source>
        <extracomment>kKeepFailed</extracomment>
        <translation>Cannot keep the board: </translation>
    </message>
    <message>
        <source>設定を保存できません: </source>
        <extracomment>kSettingsSaveFailed</extracomment>
        <translation>Cannot save the settings: </translation>
    </message>
    <message>
        <source>実行中は書き出せません。停止してから書き出してください。</source>
        <extracomment>kGraphExportWhileRunning</extracomment>
        <translation>Nothing can be exported during a run. Stop it, then export.</translation>
    </message>
    <message>
        <source>状態フォルダがありません</source>
        <extracomment>kNoStateFolder</extracomment>
        <translation>there is no state folder</translation>
    </message>
    <message>
        <source>開く</source>
        <extracomment>kToolTipOpen</extracomment>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <extracomment>kToolTipSave</extracomment>
        <translation>Save</translation>
    </message>
    <message>
        <source>開始</source>
        <extracomment>kToolTipStart, kTraceKinds</extracomment>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <extracomment>kToolTipStop</extracomment>
        <translation>Stop</translation>
    </message>
    <message>
        <source>ステップ実行</source>
        <extracomment>kToolTipStep</extracomment>
        <translation>Step</translation>
    </message>
    <message>
        <source>変化を促す</source>
        <extracomment>kToolTipAutoStimulate</extracomment>
        <translation>Auto-Stimulate</translation>
    </message>
    <message>
        <source>切り取り</source>
        <extracomment>kToolTipCut</extracomment>
        <translation>Cut</translation>
    </message>
    <message>
        <source>コピー</source>
        <extracomment>kToolTipCopy</extracomment>
        <translation>Copy</translation>
    </message>
    <message>
        <source>貼り付け</source>
        <extracomment>kToolTipPaste</extracomment>
        <translation>Paste</translation>
    </message>
    <message>
        <source>ランダム</source>
        <extracomment>kToolTipRandom</extracomment>
        <translation>Random</translation>
    </message>
    <message>
        <source>クリア</source>
        <extracomment>kToolTipClear</extracomment>
        <translation>Clear</translation>
    </message>
    <message>
        <source>色</source>
        <extracomment>kToolTipColor</extracomment>
        <translation>Colour</translation>
    </message>
    <message>
        <source>左右反転</source>
        <extracomment>kToolTipReverseRL</extracomment>
        <translation>Flip Left to Right</translation>
    </message>
    <message>
        <source>上下反転</source>
        <extracomment>kToolTipReverseTB</extracomment>
        <translation>Flip Top to Bottom</translation>
    </message>
    <message>
        <source>回転</source>
        <extracomment>kToolTipRotate</extracomment>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>拡大</source>
        <extracomment>kToolTipExpand</extracomment>
        <translation>Expand</translation>
    </message>
    <message>
        <source>縮小</source>
        <extracomment>kToolTipReduction</extracomment>
        <translation>Reduce</translation>
    </message>
    <message>
        <source>Life パターン (*.rle *.cells)</source>
        <extracomment>kLifePatternFilterName</extracomment>
        <translation>Life patterns (*.rle *.cells)</translation>
    </message>
    <message>
        <source> (インポート)</source>
        <extracomment>kImportedMark</extracomment>
        <translation> (imported)</translation>
    </message>
    <message>
        <source>Life パターンを読み込めませんでした。</source>
        <extracomment>kImportFailed</extracomment>
        <translation>The Life pattern could not be read.</translation>
    </message>
    <message>
        <source>%1 行目: </source>
        <extracomment>kLifeTextAtLine</extracomment>
        <translation>Line %1: </translation>
    </message>
    <message>
        <source>Life パターンとして読めません</source>
        <extracomment>kLifeTextUnreadable</extracomment>
        <translation>it does not read as a Life pattern</translation>
    </message>
    <message>
        <source>行が長すぎます</source>
        <extracomment>kLifeTextLineTooLong</extracomment>
        <translation>a line is too long</translation>
    </message>
    <message>
        <source>パターンが大きすぎます（</source>
        <extracomment>kLifeTextTooLarge</extracomment>
        <translation>the pattern is too large (at most </translation>
    </message>
    <message>
        <source> × </source>
        <extracomment>kLifeTextTooLarge, kAccessBoardSizeTimes</extracomment>
        <translation> × </translation>
    </message>
    <message>
        <source> セルまで）</source>
        <extracomment>kLifeTextTooLarge</extracomment>
        <translation> cells)</translation>
    </message>
    <message>
        <source>ルール (rule)「</source>
        <extracomment>kLifeTextNotConway, kLifeTextUnsupportedGrid</extracomment>
        <translation>the rule &quot;</translation>
    </message>
    <message>
        <source>」はコンウェイのライフゲーム (B3/S23) ではありません</source>
        <extracomment>kLifeTextNotConway</extracomment>
        <translation>&quot; is not Conway&apos;s Game of Life (B3/S23)</translation>
    </message>
    <message>
        <source>ヘッダー (x = 幅, y = 高さ) が正しくありません</source>
        <extracomment>kLifeTextBadHeader</extracomment>
        <translation>the header (x = width, y = height) is not right</translation>
    </message>
    <message>
        <source>セルの繰り返し数が正しくありません</source>
        <extracomment>kLifeTextBadRunCount</extracomment>
        <translation>a run count of cells is not right</translation>
    </message>
    <message>
        <source>読めない文字 </source>
        <extracomment>kLifeTextUnexpected</extracomment>
        <translation>the character </translation>
    </message>
    <message>
        <source> があります</source>
        <extracomment>kLifeTextUnexpected</extracomment>
        <translation> cannot be read</translation>
    </message>
    <message>
        <source>パターンが </source>
        <extracomment>kLifeTextTorus</extracomment>
        <translation>the pattern does not fit a </translation>
    </message>
    <message>
        <source> のトーラスに収まりません</source>
        <extracomment>kLifeTextTorus</extracomment>
        <translation> torus</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <extracomment>kMenuHelp</extracomment>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>操作方法(&amp;K)...</source>
        <extracomment>kMenuHelpKeys</extracomment>
        <translation>&amp;Keys and Mouse...</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)...</source>
        <extracomment>kMenuHelpAbout</extracomment>
        <translation>&amp;About Kaleidomat...</translation>
    </message>
    <message>
        <source>操作方法</source>
        <extracomment>kHelpKeysTitle</extracomment>
        <translation>Keys and Mouse</translation>
    </message>
    <message>
        <source>色のついたセルで動くコンウェイのライフゲーム</source>
        <extracomment>kAboutSummary</extracomment>
        <translation>Conway&apos;s Game of Life with coloured cells</translation>
    </message>
    <message>
        <source>ライセンス: MIT License</source>
        <extracomment>kAboutLicence</extracomment>
        <translation>Licence: MIT License</translation>
    </message>
    <message>
        <source>グラフ(&amp;G)</source>
        <extracomment>kMenuViewGraph</extracomment>
        <translation>&amp;Graph</translation>
    </message>
    <message>
        <source>グラフ - Kaleidomat</source>
        <extracomment>kGraphTitle</extracomment>
        <translation>Graph - Kaleidomat</translation>
    </message>
    <message>
        <source>個体数</source>
        <extracomment>kGraphPopulation</extracomment>
        <translation>Population</translation>
    </message>
    <message>
        <source>誕生</source>
        <extracomment>kGraphBirths</extracomment>
        <translation>Births</translation>
    </message>
    <message>
        <source>死亡</source>
        <extracomment>kGraphDeaths</extracomment>
        <translation>Deaths</translation>
    </message>
    <message>
        <source>色の数</source>
        <extracomment>kGraphColours</extracomment>
        <translation>Colours</translation>
    </message>
    <message>
        <source>最多色の割合</source>
        <extracomment>kGraphTopShare</extracomment>
        <translation>Top colour share</translation>
    </message>
    <message>
        <source>色の構成</source>
        <extracomment>kGraphFamilies</extracomment>
        <translation>Colour families</translation>
    </message>
    <message>
        <source>世代</source>
        <extracomment>kGraphGeneration</extracomment>
        <translation>Generation</translation>
    </message>
    <message>
        <source>記録開始からの世代</source>
        <extracomment>kGraphAxisGeneration</extracomment>
        <translation>Generations since the record began</translation>
    </message>
    <message>
        <source>記録された世代はまだありません</source>
        <extracomment>kGraphEmpty</extracomment>
        <translation>No generation has been recorded yet</translation>
    </message>
    <message>
        <source>CSV に保存...</source>
        <extracomment>kGraphExportCsv</extracomment>
        <translation>Save CSV...</translation>
    </message>
    <message>
        <source>PNG に保存...</source>
        <extracomment>kGraphExportPng</extracomment>
        <translation>Save PNG...</translation>
    </message>
    <message>
        <source>SVG に保存...</source>
        <extracomment>kGraphExportSvg</extracomment>
        <translation>Save SVG...</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <extracomment>kCsvFilterName</extracomment>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png)</source>
        <extracomment>kPngFilterName</extracomment>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>SVG 画像 (*.svg)</source>
        <extracomment>kSvgFilterName</extracomment>
        <translation>SVG images (*.svg)</translation>
    </message>
    <message>
        <source>赤</source>
        <extracomment>kFamilyNames, kGraphChannelNames, kTraceChannels</extracomment>
        <translation>red</translation>
    </message>
    <message>
        <source>橙</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>orange</translation>
    </message>
    <message>
        <source>黄</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>yellow</translation>
    </message>
    <message>
        <source>黄緑</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>chartreuse</translation>
    </message>
    <message>
        <source>緑</source>
        <extracomment>kFamilyNames, kGraphChannelNames, kTraceChannels</extracomment>
        <translation>green</translation>
    </message>
    <message>
        <source>青緑</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>spring</translation>
    </message>
    <message>
        <source>水色</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>cyan</translation>
    </message>
    <message>
        <source>空色</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>azure</translation>
    </message>
    <message>
        <source>青</source>
        <extracomment>kFamilyNames, kGraphChannelNames, kTraceChannels</extracomment>
        <translation>blue</translation>
    </message>
    <message>
        <source>紫</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>violet</translation>
    </message>
    <message>
        <source>赤紫</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>magenta</translation>
    </message>
    <message>
        <source>ピンク</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>rose</translation>
    </message>
    <message>
        <source>灰色</source>
        <extracomment>kFamilyNames</extracomment>
        <translation>grey</translation>
    </message>
    <message>
        <source>シャノン多様度</source>
        <extracomment>kGraphShannon</extracomment>
        <translation>Shannon diversity</translation>
    </message>
    <message>
        <source>シンプソン多様度</source>
        <extracomment>kGraphSimpson</extracomment>
        <translation>Simpson diversity</translation>
    </message>
    <message>
        <source>創始者の割合</source>
        <extracomment>kGraphFounders</extracomment>
        <translation>Founder shares</translation>
    </message>
    <message>
        <source>その他</source>
        <extracomment>kGraphOtherFounders</extracomment>
        <translation>others</translation>
    </message>
    <message>
        <source>生き残る創始者</source>
        <extracomment>kGraphSurvivors</extracomment>
        <translation>Surviving founders</translation>
    </message>
    <message>
        <source>#</source>
        <extracomment>kGraphFounderPrefix, kTraceNumber</extracomment>
        <translation>#</translation>
    </message>
    <message>
        <source>創始者の色:</source>
        <extracomment>kGraphFounderChannel</extracomment>
        <translation>Founders of:</translation>
    </message>
    <message>
        <source>系譜を保存...</source>
        <extracomment>kGraphExportLineage</extracomment>
        <translation>Save Lineage...</translation>
    </message>
    <message>
        <source>速度: </source>
        <extracomment>kNoticeSpeedPrefix</extracomment>
        <translation>Speed: </translation>
    </message>
    <message>
        <source>最近使ったファイル(&amp;J)</source>
        <extracomment>kMenuFileRecent</extracomment>
        <translation>Recent &amp;Files</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。最近使ったファイルの一覧から外しました。</source>
        <extracomment>kRecentMissing</extracomment>
        <translation>The file is not found. It has been taken off the list of recent files.</translation>
    </message>
    <message>
        <source>点滅を抑える(&amp;F)</source>
        <extracomment>kMenuViewCalm</extracomment>
        <translation>Less &amp;Flashing</translation>
    </message>
    <message>
        <source>切り取り(&amp;K)</source>
        <extracomment>kMenuPopupCut</extracomment>
        <translation>C&amp;ut</translation>
    </message>
    <message>
        <source>コピー(&amp;Y)</source>
        <extracomment>kMenuPopupCopy</extracomment>
        <translation>Cop&amp;y</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <extracomment>kMenuPopupPaste</extracomment>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>パターン登録(&amp;N)</source>
        <extracomment>kMenuPopupRegister</extracomment>
        <translation>Register Patter&amp;n</translation>
    </message>
    <message>
        <source>開けるすべてのファイル (*.hxa *.hxq *.rle *.cells)</source>
        <extracomment>kOpenableFilterName</extracomment>
        <translation>All files it opens (*.hxa *.hxq *.rle *.cells)</translation>
    </message>
    <message>
        <source>最近開いたか保存した盤面とパターン (8 つまで) を開きます。なくなったファイルは一覧から外します。</source>
        <extracomment>kHelpFileRecent</extracomment>
        <translation>Opens a board or pattern recently opened or saved (up to 8). A file no longer there is taken off the list.</translation>
    </message>
    <message>
        <source>入のとき、連続実行中の盤面の描き直しを 1 秒に 3 回までに抑えます (実行の速さは変わりません)。光の点滅に敏感な方に。</source>
        <extracomment>kHelpViewCalm</extracomment>
        <translation>When on, a continuous run redraws the board at most 3 times a second (the run is as fast as before). For eyes sensitive to flashing light.</translation>
    </message>
    <message>
        <source>選択範囲のセルを消します。</source>
        <extracomment>kHelpEditDelete</extracomment>
        <translation>Clears the cells of the selection.</translation>
    </message>
    <message>
        <source>盤面全体を選択します。</source>
        <extracomment>kHelpEditSelectAll</extracomment>
        <translation>Selects the whole board.</translation>
    </message>
    <message>
        <source>選択を解除します。</source>
        <extracomment>kHelpEditDeselect</extracomment>
        <translation>Drops the selection.</translation>
    </message>
    <message>
        <source>選択範囲をクリップボードに移し、盤面から消します (編集 &gt; 切り取り と同じ)。</source>
        <extracomment>kHelpPopupCut</extracomment>
        <translation>Moves the selection to the clipboard, clearing it on the board (as Edit &gt; Cut).</translation>
    </message>
    <message>
        <source>選択範囲をクリップボードにコピーします (編集 &gt; コピー と同じ)。</source>
        <extracomment>kHelpPopupCopy</extracomment>
        <translation>Copies the selection to the clipboard (as Edit &gt; Copy).</translation>
    </message>
    <message>
        <source>クリップボードのパターンを選択範囲の左上から貼り付けます (編集 &gt; 貼り付け と同じ)。</source>
        <extracomment>kHelpPopupPaste</extracomment>
        <translation>Pastes the clipboard&apos;s pattern at the selection&apos;s top left corner (as Edit &gt; Paste).</translation>
    </message>
    <message>
        <source>選択範囲をパターンファイル (.hxq) に保存し、登録済の一覧に加えます。</source>
        <extracomment>kHelpPopupRegister, kHelpPatternRegister</extracomment>
        <translation>Saves the selection as a pattern file (.hxq) and adds it to the Registered list.</translation>
    </message>
    <message>
        <source>テンキー </source>
        <extracomment>kHelpKeypad</extracomment>
        <translation>Keypad </translation>
    </message>
    <message>
        <source>光の点滅に敏感な方は 表示 &gt; 点滅を抑える を入にしてください。</source>
        <extracomment>kAboutCalm</extracomment>
        <translation>If flashing light troubles you, turn on View &gt; Less Flashing.</translation>
    </message>
    <message>
        <source>盤面ファイル (.hxa) を開きます。Life パターン (.rle, .cells) は新しい盤面として読み込みます。</source>
        <extracomment>kHelpFileOpen</extracomment>
        <translation>Opens a board file (.hxa). A Life pattern (.rle, .cells) is read as a new board.</translation>
    </message>
    <message>
        <source>盤面を盤面ファイル (.hxa) に保存します。名前がまだなければ尋ねます。</source>
        <extracomment>kHelpFileSave</extracomment>
        <translation>Saves the board to a board file (.hxa), asking for a name when it has none yet.</translation>
    </message>
    <message>
        <source>プログラムを終了します。保存していない変更は失われます。</source>
        <extracomment>kHelpFileExit</extracomment>
        <translation>Ends the program. Changes not saved are lost.</translation>
    </message>
    <message>
        <source>世代を連続して進めます。</source>
        <extracomment>kHelpExecStart</extracomment>
        <translation>Runs generation after generation.</translation>
    </message>
    <message>
        <source>連続実行を止めます。</source>
        <extracomment>kHelpExecStop</extracomment>
        <translation>Stops the continuous run.</translation>
    </message>
    <message>
        <source>1 世代だけ進めます。</source>
        <extracomment>kHelpExecStep</extracomment>
        <translation>Advances one generation.</translation>
    </message>
    <message>
        <source>入のとき、セル数が止まるか 2 つの値を繰り返すと、生きたセルの隣に 1 つセルを生まれさせます。</source>
        <extracomment>kHelpExecStimulate</extracomment>
        <translation>When on, a cell is born beside a live cell whenever the population stands still or alternates between two values.</translation>
    </message>
    <message>
        <source>選択範囲をクリップボードに移し、盤面から消します。</source>
        <extracomment>kHelpEditCut</extracomment>
        <translation>Moves the selection to the clipboard, clearing it on the board.</translation>
    </message>
    <message>
        <source>選択範囲をクリップボードにコピーします (セル、画像、RLE テキスト)。</source>
        <extracomment>kHelpEditCopy</extracomment>
        <translation>Copies the selection to the clipboard (cells, picture, RLE text).</translation>
    </message>
    <message>
        <source>クリップボードのセル、または RLE やプレーンテキストのパターンを選択範囲の左上から貼り付けます。</source>
        <extracomment>kHelpEditPaste</extracomment>
        <translation>Pastes the clipboard&apos;s cells, or an RLE or plaintext pattern, at the selection&apos;s top left corner.</translation>
    </message>
    <message>
        <source>組み込みパターンや登録したパターンファイルを選択範囲の左上に置きます。</source>
        <extracomment>kHelpPatternCommon</extracomment>
        <translation>Places a built-in pattern or a registered pattern file at the selection&apos;s top left corner.</translation>
    </message>
    <message>
        <source>盤面をランダムなセルで埋め直します。</source>
        <extracomment>kHelpPatternRandom</extracomment>
        <translation>Fills the board afresh with random cells.</translation>
    </message>
    <message>
        <source>盤面のセルをすべて消します。</source>
        <extracomment>kHelpPatternClear</extracomment>
        <translation>Clears every cell of the board.</translation>
    </message>
    <message>
        <source>選択範囲の生きたセルの色を選びます。</source>
        <extracomment>kHelpPatternColor</extracomment>
        <translation>Chooses the colour of the live cells in the selection.</translation>
    </message>
    <message>
        <source>選択範囲を反転します。</source>
        <extracomment>kHelpPatternReverse</extracomment>
        <translation>Flips the selection.</translation>
    </message>
    <message>
        <source>選択範囲を左右に反転します。</source>
        <extracomment>kHelpPatternReverseRL</extracomment>
        <translation>Flips the selection from left to right.</translation>
    </message>
    <message>
        <source>選択範囲を上下に反転します。</source>
        <extracomment>kHelpPatternReverseTB</extracomment>
        <translation>Flips the selection from top to bottom.</translation>
    </message>
    <message>
        <source>選択範囲を 90 度回転します。</source>
        <extracomment>kHelpPatternRotate</extracomment>
        <translation>Turns the selection by 90 degrees.</translation>
    </message>
    <message>
        <source>盤面を縦横 10 セルずつ大きくします (最大 200 × 200)。</source>
        <extracomment>kHelpPatternExpand</extracomment>
        <translation>Makes the board 10 cells wider and taller (at most 200 × 200).</translation>
    </message>
    <message>
        <source>盤面を縦横 10 セルずつ小さくします (最小 10 × 10)。</source>
        <extracomment>kHelpPatternReduction</extracomment>
        <translation>Makes the board 10 cells narrower and shorter (at least 10 × 10).</translation>
    </message>
    <message>
        <source>世代を 0 に戻します (ステータスバーの世代欄を右クリック)。</source>
        <extracomment>kHelpPopup1Reset</extracomment>
        <translation>Sets the generation back to 0 (right-click the status bar&apos;s generation panel).</translation>
    </message>
    <message>
        <source>盤面を新しい名前の盤面ファイル (.hxa) に保存します。</source>
        <extracomment>kHelpFileSaveAs</extracomment>
        <translation>Saves the board to a board file (.hxa) of a new name.</translation>
    </message>
    <message>
        <source>前回終了したとき (強制終了も含む) の盤面を、名前のない盤面として開きます。</source>
        <extracomment>kHelpFileRestore</extracomment>
        <translation>Opens the board of the last time the program ended (killed included) as a board without a name.</translation>
    </message>
    <message>
        <source>直前の変更 (編集、読み込み、ステップ実行、連続実行の 1 回分) を元に戻します。</source>
        <extracomment>kHelpEditUndo</extracomment>
        <translation>Undoes the last change (an edit, a file read, a step, one continuous run).</translation>
    </message>
    <message>
        <source>元に戻した変更をやり直します。</source>
        <extracomment>kHelpEditRedo</extracomment>
        <translation>Redoes a change undone.</translation>
    </message>
    <message>
        <source>1 世代前の盤面に戻します。続けて押すとさらに前へ、ステップ実行で同じ盤面を先へ進みます。</source>
        <extracomment>kHelpExecBack</extracomment>
        <translation>Goes back to the board one generation before. Again goes further back; Step goes forward through the same boards.</translation>
    </message>
    <message>
        <source>連続実行の速さ (1 秒あたりの世代数: 1 から 1,000、または 最高速) を選びます。選んだ速さは次回も使われます。</source>
        <extracomment>kHelpExecSpeed</extracomment>
        <translation>Chooses the speed of a continuous run (generations a second: 1 to 1,000, or Fastest). The speed chosen is used next time too.</translation>
    </message>
    <message>
        <source>速度を 1 段上げます (連続実行中も)。</source>
        <extracomment>kHelpExecFaster</extracomment>
        <translation>One speed faster (also during a run).</translation>
    </message>
    <message>
        <source>速度を 1 段下げます (連続実行中も)。</source>
        <extracomment>kHelpExecSlower</extracomment>
        <translation>One speed slower (also during a run).</translation>
    </message>
    <message>
        <source>入のときセルを立体的に、切のとき色だけの平らな四角で描きます。</source>
        <extracomment>kHelpViewRaised</extracomment>
        <translation>When on, cells are drawn raised; when off, as flat squares of their colour.</translation>
    </message>
    <message>
        <source>個体数、誕生、死亡、色の数と色の構成の推移を示すグラフの窓を開くか閉じます。</source>
        <extracomment>kHelpViewGraph</extracomment>
        <translation>Opens or closes the graph window: population, births, deaths, colours and colour families over time.</translation>
    </message>
    <message>
        <source>この一覧を表示します。</source>
        <extracomment>kHelpHelpKeys</extracomment>
        <translation>Shows this list.</translation>
    </message>
    <message>
        <source>バージョン、ライセンス、Qt のバージョンを表示します。</source>
        <extracomment>kHelpHelpAbout</extracomment>
        <translation>Shows the version, the licence and Qt&apos;s version.</translation>
    </message>
    <message>
        <source>左ドラッグ</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Left drag</translation>
    </message>
    <message>
        <source>範囲を選択します。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Selects an area.</translation>
    </message>
    <message>
        <source>左クリック</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Left click</translation>
    </message>
    <message>
        <source>1 つのセルを選択します。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Selects one cell.</translation>
    </message>
    <message>
        <source>Shift+左クリック</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Shift+left click</translation>
    </message>
    <message>
        <source>セルを生かす (ランダムな色) か、消します。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Brings the cell to life (in a random colour) or clears it.</translation>
    </message>
    <message>
        <source>Shift+左ドラッグ</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Shift+left drag</translation>
    </message>
    <message>
        <source>なぞった線上のセルを生かす (死んだセルから始めたとき) か、消します (生きたセルから始めたとき)。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Brings the cells along the path to life (when started on a dead cell) or clears them (when started on a live cell).</translation>
    </message>
    <message>
        <source>右クリック</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Right click</translation>
    </message>
    <message>
        <source>選択範囲のパターンメニューを開きます (選択範囲の外ならそのセルを選択してから)。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Opens the selection&apos;s pattern menu (outside the selection, after selecting that cell).</translation>
    </message>
    <message>
        <source>ファイルのドロップ</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Dropping a file</translation>
    </message>
    <message>
        <source>開く と同じように開きます。</source>
        <extracomment>kHelpMouseLines</extracomment>
        <translation>Opens it as Open does.</translation>
    </message>
    <message>
        <source>世代 =</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>Gen =</translation>
    </message>
    <message>
        <source>今の世代。右クリックで リセット のメニューが開きます。</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>The current generation. A right click opens the Reset menu.</translation>
    </message>
    <message>
        <source>セル数 =</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>Cells =</translation>
    </message>
    <message>
        <source>生きたセルの数。</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>The number of live cells.</translation>
    </message>
    <message>
        <source>x =, y =</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>x =, y =</translation>
    </message>
    <message>
        <source>ポインタの下のセルの位置。</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>The position of the cell under the pointer.</translation>
    </message>
    <message>
        <source>RGB = &amp;H</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>RGB = &amp;H</translation>
    </message>
    <message>
        <source>そのセルの色 (赤、緑、青の 16 進数)。</source>
        <extracomment>kHelpStatusLines</extracomment>
        <translation>That cell&apos;s colour (red, green, blue in hexadecimal).</translation>
    </message>
    <message>
        <source>.hxa</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>.hxa</translation>
    </message>
    <message>
        <source>盤面ファイル: 盤面の大きさと、生きたセルとその色。</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>Board file: the size of the board and the live cells with their colours.</translation>
    </message>
    <message>
        <source>.hxq</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>.hxq</translation>
    </message>
    <message>
        <source>パターンファイル: セルの長方形。プログラムのフォルダーと ~/.local/share/kaleidomat/patterns にあるものは 登録済 に並びます。</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>Pattern file: a rectangle of cells. Those in the program&apos;s folder and in ~/.local/share/kaleidomat/patterns are listed under Registered.</translation>
    </message>
    <message>
        <source>.rle</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>.rle</translation>
    </message>
    <message>
        <source>RLE (Life プログラムの標準形式): 開くと新しい盤面になります。規則 B3/S23:Tn,n は n × n の盤面。</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>RLE (the Life programs&apos; common format): opens as a new board. The rule B3/S23:Tn,n is an n × n board.</translation>
    </message>
    <message>
        <source>.cells</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>.cells</translation>
    </message>
    <message>
        <source>プレーンテキストのパターン: 開くと新しい盤面になります。</source>
        <extracomment>kHelpFileLines</extracomment>
        <translation>Plaintext pattern: opens as a new board.</translation>
    </message>
    <message>
        <source>系譜(&amp;K)</source>
        <extracomment>kMenuViewLineage</extracomment>
        <translation>L&amp;ineage</translation>
    </message>
    <message>
        <source>赤の祖先で色分け(&amp;R)</source>
        <extracomment>kMenuLineageRed</extracomment>
        <translation>By &amp;Red Founders</translation>
    </message>
    <message>
        <source>緑の祖先で色分け(&amp;G)</source>
        <extracomment>kMenuLineageGreen</extracomment>
        <translation>By &amp;Green Founders</translation>
    </message>
    <message>
        <source>青の祖先で色分け(&amp;B)</source>
        <extracomment>kMenuLineageBlue</extracomment>
        <translation>By &amp;Blue Founders</translation>
    </message>
    <message>
        <source>年齢で色分け(&amp;A)</source>
        <extracomment>kMenuLineageAge</extracomment>
        <translation>By &amp;Age</translation>
    </message>
    <message>
        <source>通常の色(&amp;N)</source>
        <extracomment>kMenuLineageNormal</extracomment>
        <translation>&amp;Normal Colours</translation>
    </message>
    <message>
        <source>祖先をたどる(&amp;T)</source>
        <extracomment>kMenuLineageTrace</extracomment>
        <translation>&amp;Trace Ancestors</translation>
    </message>
    <message>
        <source>赤・緑・青の値がどのセルから受け継がれてきたか (系譜) を盤面に示します。祖先で色分けすると、生きたセルをその色の値を受け継いだ祖先ごとに、大きな家系から順に別々の色で、残りを灰色で描きます。年齢で色分けすると、生まれたばかりのセルが白、古いセルほど赤、紫、青になります。通常の色で本来の色に戻ります。</source>
        <extracomment>kHelpViewLineage</extracomment>
        <translation>Shows on the board which cells the red, green and blue values came down from (the lineage). By founders draws the live cells by the founder they inherited that value from, the largest families each in a colour of its own, the rest grey. By age draws newborn cells white and older ones red, violet, then blue. Normal Colours brings back the cells&apos; own colours.</translation>
    </message>
    <message>
        <source>入のとき、生きたセルをクリックすると、赤・緑・青の祖先が同じセルをそれぞれ赤・緑・青で示し、祖先が生まれた場所を枠で囲みます。クリックで盤面は変わりません。</source>
        <extracomment>kHelpLineageTrace</extracomment>
        <translation>When on, clicking a live cell shows the cells that share its red, green and blue founders in red, green and blue, and outlines where those founders came to life. Clicking does not change the board.</translation>
    </message>
    <message>
        <source>(第</source>
        <extracomment>kTraceGenerationOpen</extracomment>
        <translation> (gen </translation>
    </message>
    <message>
        <source>世代・</source>
        <extracomment>kTraceGenerationKind</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source>) </source>
        <extracomment>kTraceClose</extracomment>
        <translation>) </translation>
    </message>
    <message>
        <source>編集</source>
        <extracomment>kTraceKinds</extracomment>
        <translation>edit</translation>
    </message>
    <message>
        <source>刺激</source>
        <extracomment>kTraceKinds</extracomment>
        <translation>stimulated</translation>
    </message>
    <message>
        <source>変異</source>
        <extracomment>kTraceKinds</extracomment>
        <translation>mutation</translation>
    </message>
    <message>
        <source>不明 </source>
        <extracomment>kTraceUnknown</extracomment>
        <translation>unknown </translation>
    </message>
    <message>
        <source>誕生 第</source>
        <extracomment>kTraceBirth</extracomment>
        <translation>born at gen </translation>
    </message>
    <message>
        <source>世代、祖先から </source>
        <extracomment>kTraceDescent</extracomment>
        <translation>, from its founders </translation>
    </message>
    <message>
        <source>・</source>
        <extracomment>kTraceDescentSeparator</extracomment>
        <translation>/</translation>
    </message>
    <message>
        <source> 世代</source>
        <extracomment>kTraceDescentEnd</extracomment>
        <translation> generations</translation>
    </message>
    <message>
        <source>生きたセルをクリックしてください</source>
        <extracomment>kTraceDeadCell</extracomment>
        <translation>Click a live cell</translation>
    </message>
    <message>
        <source>■ メニュー</source>
        <extracomment>kHelpMenusHeading</extracomment>
        <translation>■ Menus</translation>
    </message>
    <message>
        <source>世代欄のメニュー (右クリック)</source>
        <extracomment>kHelpPopupHeading</extracomment>
        <translation>Generation panel menu (right click)</translation>
    </message>
    <message>
        <source>盤面のマウス操作</source>
        <extracomment>kHelpMouseHeading</extracomment>
        <translation>The mouse on the board</translation>
    </message>
    <message>
        <source>ステータスバー</source>
        <extracomment>kHelpStatusHeading, kAccessStatusName</extracomment>
        <translation>Status bar</translation>
    </message>
    <message>
        <source>ファイルの種類</source>
        <extracomment>kHelpFilesHeading</extracomment>
        <translation>File types</translation>
    </message>
    <message>
        <source>キー </source>
        <extracomment>kHelpKeysOnly</extracomment>
        <translation>Keys </translation>
    </message>
    <message>
        <source>ツールバー「</source>
        <extracomment>kHelpToolbarOpen</extracomment>
        <translation>toolbar &quot;</translation>
    </message>
    <message>
        <source>」</source>
        <extracomment>kHelpToolbarClose</extracomment>
        <translation>&quot;</translation>
    </message>
    <message>
        <source>言語(&amp;L)</source>
        <extracomment>kMenuViewLanguage</extracomment>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>メニュー、メッセージ、ヘルプなどの言語を 日本語 か English に切り替えます。選んだ言語は次回も使われます。</source>
        <extracomment>kHelpViewLanguage</extracomment>
        <translation>Switches the language of the menus, messages, help and the rest between 日本語 (Japanese) and English. The language chosen is used next time too.</translation>
    </message>
    <message>
        <source>盤面の大きさ(&amp;S)...</source>
        <extracomment>kMenuPatternSize</extracomment>
        <translation>Board &amp;Size...</translation>
    </message>
    <message>
        <source>盤面の一辺のセル数を 10 から 2048 までで指定します。収まるセルはそのまま残ります (200 を超える盤面で 縮小 を選ぶと 200 × 200 になります)。</source>
        <extracomment>kHelpPatternSize</extracomment>
        <translation>Sets the number of cells along the board&apos;s side, from 10 to 2048. The cells that still fit stay as they are (Reduce on a board over 200 makes it 200 × 200).</translation>
    </message>
    <message>
        <source>盤面の大きさ</source>
        <extracomment>kBoardSizeTitle</extracomment>
        <translation>Board Size</translation>
    </message>
    <message>
        <source>一辺のセル数 (10 ～ 2048):</source>
        <extracomment>kBoardSizeLabel</extracomment>
        <translation>Cells along a side (10 to 2048):</translation>
    </message>
    <message>
        <source>パターンファイルに登録できるのは 200 × 200 セルまでです。選択範囲を小さくしてください。</source>
        <extracomment>kPatternTooLarge</extracomment>
        <translation>A pattern file holds at most 200 × 200 cells. Please select a smaller area.</translation>
    </message>
    <message>
        <source>盤面のキーボード操作</source>
        <extracomment>kHelpBoardKeysHeading</extracomment>
        <translation>Keyboard on the board</translation>
    </message>
    <message>
        <source>Tab</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Tab</translation>
    </message>
    <message>
        <source>矢印キー</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Arrow keys</translation>
    </message>
    <message>
        <source>Shift+矢印キー</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Shift+arrow keys</translation>
    </message>
    <message>
        <source>カーソルのあったセルからカーソルまでの範囲を選択します (盤面の端で止まります)。</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Select the range from the cell where the cursor was to the cursor (stops at the board&apos;s edge).</translation>
    </message>
    <message>
        <source>Space</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Space</translation>
    </message>
    <message>
        <source>カーソルのセルを Shift+左クリック と同じように生かすか、消します。</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Brings the cursor&apos;s cell to life or clears it, as Shift+left click does.</translation>
    </message>
    <message>
        <source>カーソルが消えるとき</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>When the cursor disappears</translation>
    </message>
    <message>
        <source>盤面をクリックしたとき (カーソルはそのセルに移ります) と、焦点がほかの部品に移ったとき。</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>When the board is clicked (the cursor moves to that cell) and when the focus moves to another control.</translation>
    </message>
    <message>
        <source>盤面</source>
        <extracomment>kAccessBoardName</extracomment>
        <translation>Board</translation>
    </message>
    <message>
        <source>、</source>
        <extracomment>kAccessSeparator</extracomment>
        <translation>, </translation>
    </message>
    <message>
        <source> セル</source>
        <extracomment>kAccessBoardSizeUnit</extracomment>
        <translation> cells</translation>
    </message>
    <message>
        <source>生きたセル </source>
        <extracomment>kAccessLiveCell</extracomment>
        <translation>live cell </translation>
    </message>
    <message>
        <source>死んだセル</source>
        <extracomment>kAccessDeadCell</extracomment>
        <translation>dead cell</translation>
    </message>
    <message>
        <source>ツールバー</source>
        <extracomment>kAccessToolbarName</extracomment>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>グラフ</source>
        <extracomment>kAccessGraphPlotName</extracomment>
        <translation>Graph</translation>
    </message>
    <message>
        <source>記録開始からの個体数、誕生、死亡、色の数、最多色の割合、多様度と色の構成の推移</source>
        <extracomment>kAccessGraphPlotDescription</extracomment>
        <translation>Population, births, deaths, number of colours, share of the most common colour, diversity and colour make-up since recording began</translation>
    </message>
    <message>
        <source>、記録された世代 </source>
        <extracomment>kAccessGraphRecorded</extracomment>
        <translation>, generations recorded: </translation>
    </message>
    <message>
        <source>」の盤面には対応していません（並べて 10 から 2048 までの正方形になるトーラスのみ）</source>
        <extracomment>kLifeTextUnsupportedGrid</extracomment>
        <translation>&quot; has a grid that is not supported (only tori whose copies tile a square of 10 to 2048 a side)</translation>
    </message>
    <message>
        <source>Golly・Life 1.05/1.06 パターン (*.mc *.lif *.life *.gz)</source>
        <extracomment>kGollyPatternFilterName</extracomment>
        <translation>Golly and Life 1.05/1.06 patterns (*.mc *.lif *.life *.gz)</translation>
    </message>
    <message>
        <source>gzip の圧縮データが壊れているか、途中で切れています</source>
        <extracomment>kLifeTextBadCompression</extracomment>
        <translation>the gzip data is damaged or cut short</translation>
    </message>
    <message>
        <source>展開すると </source>
        <extracomment>kLifeTextUnpackedTooLarge</extracomment>
        <translation>unpacked it is over </translation>
    </message>
    <message>
        <source> MiB を超えます</source>
        <extracomment>kLifeTextUnpackedTooLarge</extracomment>
        <translation> MiB</translation>
    </message>
    <message>
        <source>マクロセルのノードが正しくありません</source>
        <extracomment>kLifeTextBadNode</extracomment>
        <translation>a macrocell node is not valid</translation>
    </message>
    <message>
        <source>座標が 2 つの整数ではありません</source>
        <extracomment>kLifeTextBadCoordinates</extracomment>
        <translation>a line&apos;s coordinates are not two whole numbers</translation>
    </message>
    <message>
        <source>盤面にキーボードの焦点を移し、カーソルを表示します。</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Moves the keyboard focus to the board and shows the cursor.</translation>
    </message>
    <message>
        <source>カーソルを動かしてそのセルを選択します (端から反対の端へ回ります)。カーソルが出ていないときは表示を動かします。</source>
        <extracomment>kHelpBoardKeyLines</extracomment>
        <translation>Move the cursor and select its cell (past an edge it continues from the opposite edge). Without the cursor they move the view.</translation>
    </message>
    <message>
        <source>拡大表示(&amp;Z)</source>
        <extracomment>kMenuViewZoomIn</extracomment>
        <translation>&amp;Zoom In</translation>
    </message>
    <message>
        <source>縮小表示(&amp;X)</source>
        <extracomment>kMenuViewZoomOut</extracomment>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>全体を表示(&amp;W)</source>
        <extracomment>kMenuViewWhole</extracomment>
        <translation>&amp;Whole Board</translation>
    </message>
    <message>
        <source>実寸(&amp;A)</source>
        <extracomment>kMenuViewActualSize</extracomment>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>格子(&amp;R)</source>
        <extracomment>kMenuViewGrid</extracomment>
        <translation>G&amp;rid</translation>
    </message>
    <message>
        <source>盤面を 2 倍に拡大して表示します。マウスのホイールでは指した所を中心に拡大・縮小します。</source>
        <extracomment>kHelpViewZoomIn</extracomment>
        <translation>Shows the board twice as large. The mouse wheel zooms in and out around the point under the pointer.</translation>
    </message>
    <message>
        <source>盤面を半分に縮小して表示します。盤面全体が収まる所まで縮めると 全体を表示 に戻ります。</source>
        <extracomment>kHelpViewZoomOut</extracomment>
        <translation>Shows the board half as large. Once the whole board fits, this goes back to Whole Board.</translation>
    </message>
    <message>
        <source>盤面全体を窓いっぱいに表示します (起動したときの表示)。</source>
        <extracomment>kHelpViewWhole</extracomment>
        <translation>Shows the whole board filling the window (the view at start).</translation>
    </message>
    <message>
        <source>1 セルを画面の 1 ピクセルで表示します。</source>
        <extracomment>kHelpViewActualSize</extracomment>
        <translation>Shows one cell as one pixel of the screen.</translation>
    </message>
    <message>
        <source>入のとき、セルが 8 ピクセル以上の大きさで表示されているとセルの間に格子線を引きます。</source>
        <extracomment>kHelpViewGrid</extracomment>
        <translation>When on, draws grid lines between the cells once they are shown 8 pixels or larger.</translation>
    </message>
    <message>
        <source>表示を左へ動かし、盤面の左の方を見せます。中ボタンか、スペースキーを押しながら左ボタンでドラッグしても動かせます。盤面はつながっているので、端を越えると反対側が見えます。</source>
        <extracomment>kHelpViewPanLeft</extracomment>
        <translation>Moves the view to the left, showing more of the board&apos;s left. A drag with the middle button, or with the left button while Space is held, moves it too. The board wraps round, so past an edge the other side shows.</translation>
    </message>
    <message>
        <source>表示を右へ動かし、盤面の右の方を見せます。</source>
        <extracomment>kHelpViewPanRight</extracomment>
        <translation>Moves the view to the right, showing more of the board&apos;s right.</translation>
    </message>
    <message>
        <source>表示を上へ動かし、盤面の上の方を見せます。</source>
        <extracomment>kHelpViewPanUp</extracomment>
        <translation>Moves the view up, showing more of the board&apos;s top.</translation>
    </message>
    <message>
        <source>表示を下へ動かし、盤面の下の方を見せます。</source>
        <extracomment>kHelpViewPanDown</extracomment>
        <translation>Moves the view down, showing more of the board&apos;s bottom.</translation>
    </message>
</context>
</TS>
