<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Quillmark Studio</source>
        <translation>Quillmark Studio</translation>
    </message>
    <message>
        <source>Previews and edits the keyboard panels of input-method skins.</source>
        <translation>预览和编辑输入法皮肤的键盘面板。</translation>
    </message>
    <message>
        <source>Version: %1</source>
        <translation>版本：%1</translation>
    </message>
    <message>
        <source>Open Source Licenses</source>
        <translation>开源许可</translation>
    </message>
    <message>
        <source>Qt: </source>
        <translation>Qt: </translation>
    </message>
    <message>
        <source> LGPLv3 license </source>
        <translation> LGPLv3 许可证 </translation>
    </message>
    <message>
        <source>libarchive: </source>
        <translation>libarchive: </translation>
    </message>
    <message>
        <source> New BSD license </source>
        <translation> 新 BSD 许可证 </translation>
    </message>
    <message>
        <source>OpenSSL: </source>
        <translation>OpenSSL: </translation>
    </message>
    <message>
        <source> OpenSSL and SSLeay license </source>
        <translation> OpenSSL 与 SSLeay 许可证 </translation>
    </message>
    <message>
        <source>Settings: %1</source>
        <translation>设置文件：%1</translation>
    </message>
    <message>
        <source>Log: %1</source>
        <translation>日志：%1</translation>
    </message>
</context>
<context>
    <name>AddKeyPage</name>
    <message>
        <source>Add Key</source>
        <translation>添加按键</translation>
    </message>
</context>
<context>
    <name>AdjustKeysPage</name>
    <message>
        <source>Adjust Keys</source>
        <translation>调整按键</translation>
    </message>
    <message>
        <source>keys (leave empty to adjust all)</source>
        <translation>按键（留空则调整全部）</translation>
    </message>
    <message>
        <source>x:</source>
        <translation>x:</translation>
    </message>
    <message>
        <source>y:</source>
        <translation>y:</translation>
    </message>
    <message>
        <source>w:</source>
        <translation>w:</translation>
    </message>
    <message>
        <source>h:</source>
        <translation>h:</translation>
    </message>
    <message>
        <source>leave empty to keep original value</source>
        <translation>留空则保持原值</translation>
    </message>
</context>
<context>
    <name>AlignKeysPage</name>
    <message>
        <source>Align Keys</source>
        <translation>对齐按键</translation>
    </message>
    <message>
        <source>Align left</source>
        <translation>左端对齐</translation>
    </message>
    <message>
        <source>Align top</source>
        <translation>顶端对齐</translation>
    </message>
    <message>
        <source>Align right</source>
        <translation>右端对齐</translation>
    </message>
    <message>
        <source>Align bottom</source>
        <translation>底端对齐</translation>
    </message>
    <message>
        <source>Align center</source>
        <translation>水平居中</translation>
    </message>
    <message>
        <source>Align middle</source>
        <translation>垂直居中</translation>
    </message>
    <message>
        <source>Distribute vertically</source>
        <translation>垂直分布</translation>
    </message>
    <message>
        <source>Distribute horizontally</source>
        <translation>水平分布</translation>
    </message>
    <message>
        <source>keys (leave empty to select all)</source>
        <translation>按键（留空则选择全部）</translation>
    </message>
</context>
<context>
    <name>CustomColorDialog</name>
    <message>
        <source>Select a color</source>
        <translation>选择颜色</translation>
    </message>
</context>
<context>
    <name>DocumentHandler</name>
    <message>
        <source>Cannot save: </source>
        <translation>无法保存：</translation>
    </message>
    <message>
        <source>Not saved: the file changed on disk since it was loaded</source>
        <translation>未保存：文件自载入后已在磁盘上被修改</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存 %1</translation>
    </message>
    <message>
        <source>Cannot read %1</source>
        <translation>无法读取 %1</translation>
    </message>
</context>
<context>
    <name>EditKeyPage</name>
    <message>
        <source>Edit Key</source>
        <translation>编辑按键</translation>
    </message>
</context>
<context>
    <name>ExchangeKeysPage</name>
    <message>
        <source>Exchange Keys</source>
        <translation>交换按键</translation>
    </message>
    <message>
        <source>first key</source>
        <translation>第一个按键</translation>
    </message>
    <message>
        <source>second key</source>
        <translation>第二个按键</translation>
    </message>
</context>
<context>
    <name>FieldRules</name>
    <message>
        <source>Enter a whole number from %1 to %2.</source>
        <translation>请输入 %1 到 %2 之间的整数。</translation>
    </message>
    <message>
        <source>Choose a directory.</source>
        <translation>请选择目录。</translation>
    </message>
    <message>
        <source>Choose a file.</source>
        <translation>请选择文件。</translation>
    </message>
    <message>
        <source>Type at least one line of text.</source>
        <translation>请至少输入一行文字。</translation>
    </message>
    <message>
        <source>The rows ask for %1 keys; a panel can have at most %2.</source>
        <translation>各行共需 %1 个按键；一个面板最多 %2 个。</translation>
    </message>
</context>
<context>
    <name>FontResourceDialog</name>
    <message>
        <source>Bold</source>
        <translation>粗体</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>下划线</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Font Resource Generate</source>
        <translation>字体资源生成</translation>
    </message>
    <message>
        <source>Use system font</source>
        <translation>使用系统字体</translation>
    </message>
    <message>
        <source>Load from font file</source>
        <translation>从字体文件加载</translation>
    </message>
    <message>
        <source>Color: </source>
        <translation>颜色：</translation>
    </message>
    <message>
        <source>Size: </source>
        <translation>大小：</translation>
    </message>
    <message>
        <source>Tight mode: </source>
        <translation>紧凑模式：</translation>
    </message>
    <message>
        <source>Order: </source>
        <translation>排列：</translation>
    </message>
    <message>
        <source>Vertical</source>
        <translation>垂直</translation>
    </message>
    <message>
        <source>Horizontal</source>
        <translation>水平</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>预设</translation>
    </message>
    <message>
        <source>Upper case letters (abc)</source>
        <translation>大写字母（abc 顺序）</translation>
    </message>
    <message>
        <source>Lower case letters (abc)</source>
        <translation>小写字母（abc 顺序）</translation>
    </message>
    <message>
        <source>Upper case letters (qwerty)</source>
        <translation>大写字母（qwerty 顺序）</translation>
    </message>
    <message>
        <source>Lower case letters (qwerty)</source>
        <translation>小写字母（qwerty 顺序）</translation>
    </message>
    <message>
        <source>Digital</source>
        <translation>数字</translation>
    </message>
    <message>
        <source>Common punctuations</source>
        <translation>常用标点</translation>
    </message>
    <message>
        <source>Input by line</source>
        <translation>按行输入</translation>
    </message>
    <message>
        <source>Generate</source>
        <translation>生成</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save as til</source>
        <translation>另存为 til</translation>
    </message>
    <message>
        <source>Font files (*.ttf *.otf *.ttc)</source>
        <translation>字体文件 (*.ttf *.otf *.ttc)</translation>
    </message>
    <message>
        <source>til file (*.til)</source>
        <translation>til 文件 (*.til)</translation>
    </message>
</context>
<context>
    <name>InnerRectDialog</name>
    <message>
        <source>Inner Rect Tool</source>
        <translation>内切工具</translation>
    </message>
    <message>
        <source>Choose a til file: </source>
        <translation>选择 til 文件：</translation>
    </message>
    <message>
        <source>til file (*.til)</source>
        <translation>til 文件 (*.til)</translation>
    </message>
</context>
<context>
    <name>InnerRectImage</name>
    <message>
        <source>Choose an IMG: </source>
        <translation>选择 IMG: </translation>
    </message>
    <message>
        <source>IMG size: %1x%2</source>
        <translation>IMG 尺寸：%1x%2</translation>
    </message>
    <message>
        <source>Inner Rect: </source>
        <translation>内切区域：</translation>
    </message>
    <message>
        <source>x: </source>
        <translation>x: </translation>
    </message>
    <message>
        <source>y: </source>
        <translation>y: </translation>
    </message>
    <message>
        <source>w: </source>
        <translation>w: </translation>
    </message>
    <message>
        <source>h: </source>
        <translation>h: </translation>
    </message>
    <message>
        <source>Strech preview: </source>
        <translation>拉伸预览：</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>预览</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
</context>
<context>
    <name>MessageBar</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>MessageHistory</name>
    <message>
        <source>Messages</source>
        <translation>消息</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>No messages yet.</source>
        <translation>暂无消息。</translation>
    </message>
</context>
<context>
    <name>MoveKeysPage</name>
    <message>
        <source>Move Keys</source>
        <translation>移动按键（不选则移动全部）</translation>
    </message>
    <message>
        <source>keys (leave empty to move all)</source>
        <translation>按键（留空则移动全部）</translation>
    </message>
    <message>
        <source>distance in the x</source>
        <translation>x 方向距离</translation>
    </message>
    <message>
        <source>distance in the y</source>
        <translation>y 方向距离</translation>
    </message>
</context>
<context>
    <name>Panel</name>
    <message>
        <source>%1 no longer exists: the edit was not made.</source>
        <translation>%1 已不存在：未做此修改。</translation>
    </message>
    <message>
        <source>Exported the preview to %1</source>
        <translation>已将预览导出到 %1</translation>
    </message>
    <message>
        <source>Could not export the preview to %1: the format is unknown or the file cannot be written.</source>
        <translation>无法将预览导出到 %1：格式未知或文件无法写入。</translation>
    </message>
    <message>
        <source>Cannot undo: %1 changed in the file since that edit.</source>
        <translation>无法撤销：%1 在该次修改之后已在文件中被改动。</translation>
    </message>
    <message>
        <source>Cannot redo: %1 changed in the file since that edit.</source>
        <translation>无法重做：%1 在该次修改之后已在文件中被改动。</translation>
    </message>
    <message>
        <source>Undone: saved %1</source>
        <translation>已撤销：已保存 %1</translation>
    </message>
    <message>
        <source>Redone: saved %1</source>
        <translation>已重做：已保存 %1</translation>
    </message>
    <message>
        <source>Could not save %1 (%2): the edit was not made.</source>
        <translation>无法保存 %1（%2）：未做此修改。</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已保存 %1</translation>
    </message>
</context>
<context>
    <name>PanelCreateDialog</name>
    <message>
        <source>Create Panel</source>
        <translation>创建面板</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Same as last row</source>
        <translation>与上一行相同</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>居中</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>New Panel File</source>
        <translation>新建面板文件</translation>
    </message>
    <message>
        <source>ini file (*.ini)</source>
        <translation>ini 文件 (*.ini)</translation>
    </message>
    <message>
        <source>Panel size:</source>
        <translation>面板尺寸：</translation>
    </message>
    <message>
        <source>(Width Height)</source>
        <translation>（宽 高）</translation>
    </message>
    <message>
        <source>Panel padding:</source>
        <translation>面板内边距：</translation>
    </message>
    <message>
        <source>(Left Top Right Bottom)</source>
        <translation>（左 上 右 下）</translation>
    </message>
    <message>
        <source>Row spacing:</source>
        <translation>行间距：</translation>
    </message>
    <message>
        <source>Include TOUCH_RECT</source>
        <translation>包含 TOUCH_RECT</translation>
    </message>
    <message>
        <source>TOUCH_RECT padding (relative to VIEW_RECT):</source>
        <translation>TOUCH_RECT 内边距（相对于 VIEW_RECT）：</translation>
    </message>
    <message>
        <source>Extra properties:</source>
        <translation>额外属性：</translation>
    </message>
    <message>
        <source>Input extra properties here:</source>
        <translation>在此输入额外属性：</translation>
    </message>
    <message>
        <source>Row %1</source>
        <translation>第 %1 行</translation>
    </message>
    <message>
        <source>Row height: </source>
        <translation>行高：</translation>
    </message>
    <message>
        <source>Keys number: </source>
        <translation>按键数：</translation>
    </message>
    <message>
        <source>Key width: </source>
        <translation>键宽：</translation>
    </message>
    <message>
        <source>Key spacing: </source>
        <translation>键间距：</translation>
    </message>
    <message>
        <source>Alignment: </source>
        <translation>对齐：</translation>
    </message>
    <message>
        <source>Add a row of keys</source>
        <translation>添加一行按键</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>创建</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>PanelImage</name>
    <message>
        <source>X: </source>
        <translation>X: </translation>
    </message>
    <message>
        <source>, Y: </source>
        <translation>, Y: </translation>
    </message>
    <message>
        <source>Actual size</source>
        <translation>实际大小</translation>
    </message>
    <message>
        <source>Fit to view</source>
        <translation>适应窗口</translation>
    </message>
    <message>
        <source>the panel size is not valid — see Problems</source>
        <translation>面板尺寸无效——请查看“问题”</translation>
    </message>
</context>
<context>
    <name>PanelScaleDialog</name>
    <message>
        <source>Panel Scale</source>
        <translation>面板缩放</translation>
    </message>
    <message>
        <source>source directory</source>
        <translation>源目录</translation>
    </message>
    <message>
        <source>target directory</source>
        <translation>目标目录</translation>
    </message>
    <message>
        <source>lock ratio</source>
        <translation>锁定比例</translation>
    </message>
    <message>
        <source>horizontal: </source>
        <translation>水平：</translation>
    </message>
    <message>
        <source>source resolution</source>
        <translation>源分辨率</translation>
    </message>
    <message>
        <source>target resolution</source>
        <translation>目标分辨率</translation>
    </message>
    <message>
        <source>vertical: </source>
        <translation>垂直：</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>缩放</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>ProblemsPane</name>
    <message>
        <source>Problems</source>
        <translation>问题</translation>
    </message>
    <message>
        <source>No problems found.</source>
        <translation>没有发现问题。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Quillmark</source>
        <translation>Quillmark</translation>
    </message>
    <message>
        <source>Quillmark Studio</source>
        <translation>Quillmark Studio</translation>
    </message>
</context>
<context>
    <name>RemoveKeysPage</name>
    <message>
        <source>Remove Keys</source>
        <translation>移除按键</translation>
    </message>
    <message>
        <source>keys (leave empty to remove all)</source>
        <translation>按键（留空则移除全部）</translation>
    </message>
    <message>
        <source>Remove All Keys</source>
        <translation>移除全部按键</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>全部移除</translation>
    </message>
    <message>
        <source>The panel has no keys to remove.</source>
        <translation>面板中没有可移除的按键。</translation>
    </message>
    <message>
        <source>No key is selected, so all %1 keys of the panel will be removed. Undo brings them back.</source>
        <translation>未选择按键，面板的全部 %1 个按键都将被移除。撤销可以恢复它们。</translation>
    </message>
</context>
<context>
    <name>ResolutionConvertDialog</name>
    <message>
        <source>Resource Resolution Convert</source>
        <translation>资源分辨率转换</translation>
    </message>
    <message>
        <source>source directory</source>
        <translation>源目录</translation>
    </message>
    <message>
        <source>target directory</source>
        <translation>目标目录</translation>
    </message>
    <message>
        <source>source resolution</source>
        <translation>源分辨率</translation>
    </message>
    <message>
        <source>target resolution</source>
        <translation>目标分辨率</translation>
    </message>
    <message>
        <source>Inner Rect Only</source>
        <translation>仅内切区域</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>转换</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>RowEditorDialog</name>
    <message>
        <source>Edit row %1</source>
        <translation>编辑第 %1 行</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Keys number:</source>
        <translation>按键数：</translation>
    </message>
    <message>
        <source>Row height:</source>
        <translation>行高：</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Key width:</source>
        <translation>键宽：</translation>
    </message>
    <message>
        <source>Same as last row</source>
        <translation>与上一行相同</translation>
    </message>
    <message>
        <source>Key spacing:</source>
        <translation>键间距：</translation>
    </message>
    <message>
        <source>Alignment:</source>
        <translation>对齐：</translation>
    </message>
    <message>
        <source>Align left</source>
        <translation>左对齐</translation>
    </message>
    <message>
        <source>Align center</source>
        <translation>居中对齐</translation>
    </message>
    <message>
        <source>Align right</source>
        <translation>右对齐</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
</context>
<context>
    <name>SearchBar</name>
    <message>
        <source>Search</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>Replace all</source>
        <translation>全部替换</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>正则表达式</translation>
    </message>
    <message>
        <source>Case sensitively</source>
        <translation>区分大小写</translation>
    </message>
</context>
<context>
    <name>SectionInfoPage</name>
    <message>
        <source>Click a key on the preview to see its properties here.</source>
        <translation>在预览中点击按键，即可在此查看其属性。</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Snap grid (panel units, 0 snaps to keys)</source>
        <translation>吸附网格（面板单位，0 表示吸附到按键）</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>ui font</source>
        <translation>界面字体</translation>
    </message>
    <message>
        <source>stay on top</source>
        <translation>窗口置顶</translation>
    </message>
    <message>
        <source>View rect color</source>
        <translation>显示区域颜色</translation>
    </message>
    <message>
        <source>Touch rect color</source>
        <translation>触摸区域颜色</translation>
    </message>
    <message>
        <source>Style list backgroud color</source>
        <translation>样式列表背景颜色</translation>
    </message>
    <message>
        <source>Auto reload</source>
        <translation>自动重新加载</translation>
    </message>
    <message>
        <source>Relaod interval (ms)</source>
        <translation>重新加载间隔（毫秒）</translation>
    </message>
    <message>
        <source>display panel information</source>
        <translation>显示面板信息</translation>
    </message>
    <message>
        <source>display file tree</source>
        <translation>显示文件树</translation>
    </message>
    <message>
        <source>display text editor</source>
        <translation>显示文本编辑器</translation>
    </message>
    <message>
        <source>Skin working directory</source>
        <translation>皮肤工作目录</translation>
    </message>
    <message>
        <source>Debug mode</source>
        <translation>调试模式</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>This directory: %1 will be clean before skins imported!</source>
        <translation>导入皮肤前将清空此目录：%1！</translation>
    </message>
    <message>
        <source>This directory can not be the skin working directory: it is the root, your home directory or a directory above it.</source>
        <translation>此目录不能作为皮肤工作目录：它是根目录、用户主目录或其上级目录。</translation>
    </message>
    <message>
        <source>It holds %1 files and folders now; each import will ask before deleting them.</source>
        <translation>它现在有 %1 个文件和文件夹；每次导入都会在删除它们之前询问。</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>The system&apos;s language</source>
        <translation>系统语言</translation>
    </message>
    <message>
        <source>reopen the last panel file at start</source>
        <translation>启动时重新打开上次的面板文件</translation>
    </message>
</context>
<context>
    <name>SkinArchive</name>
    <message>
        <source>%1 can not be written.</source>
        <translation>无法写入 %1。</translation>
    </message>
    <message>
        <source>%1 can not be created.</source>
        <translation>无法创建 %1。</translation>
    </message>
    <message>
        <source>%1 can not be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>The skin directory %1 does not exist.</source>
        <translation>皮肤目录 %1 不存在。</translation>
    </message>
    <message>
        <source>%1 can not be written (is the disk full?).</source>
        <translation>无法写入 %1（磁盘是否已满？）。</translation>
    </message>
    <message>
        <source>No directory to unpack into was given.</source>
        <translation>没有指定解压目录。</translation>
    </message>
    <message>
        <source>%1 is not a readable zip archive: %2</source>
        <translation>%1 不是可读的 zip 压缩包：%2</translation>
    </message>
    <message>
        <source>%1 is damaged after %2 files: %3</source>
        <translation>%1 在第 %2 个文件之后已损坏：%3</translation>
    </message>
    <message>
        <source>%1 entries of %2 were refused or could not be written; the log names them.</source>
        <translation>%2 中有 %1 项被拒绝或无法写入；日志中列出了它们。</translation>
    </message>
</context>
<context>
    <name>SkinChecker</name>
    <message>
        <source>&quot;%1&quot; is neither a section header nor a property: it is ignored, and dropped when the editor next writes this file.</source>
        <translation>“%1”既不是节标题也不是属性：读取时被忽略，编辑器下次写入此文件时会被删除。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no key before &quot;=&quot;: it is ignored, and dropped when the editor next writes this file.</source>
        <translation>“%1”在“=”前没有键名：读取时被忽略，编辑器下次写入此文件时会被删除。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a section header without a name: it is ignored (the lines after it stay in the section before), and dropped when the editor next writes this file.</source>
        <translation>“%1”是没有名称的节标题：读取时被忽略（其后的行仍属于前一节），编辑器下次写入此文件时会被删除。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no closing &quot;]&quot;: it is read as the section [%2].</source>
        <translation>“%1”缺少右方括号“]”：按节 [%2] 读取。</translation>
    </message>
    <message>
        <source>The text after &quot;]&quot; in &quot;%1&quot; is ignored, and dropped when the editor next writes this file.</source>
        <translation>“%1”中“]”之后的文字被忽略，编辑器下次写入此文件时会被删除。</translation>
    </message>
    <message>
        <source>Section [%1] is repeated (first at line %2): the last one counts and the earlier ones are ignored.</source>
        <translation>节 [%1] 重复出现（首次在第 %2 行）：以最后一个为准，前面的被忽略。</translation>
    </message>
    <message>
        <source>Section [%1] is repeated (first at line %2): the first one counts and this one is ignored.</source>
        <translation>节 [%1] 重复出现（首次在第 %2 行）：以第一个为准，此处的被忽略。</translation>
    </message>
    <message>
        <source>%1 is given again in [%2] (first at line %3): the first value counts and this line is ignored.</source>
        <translation>%1 在 [%2] 中重复给出（首次在第 %3 行）：以第一个值为准，此行被忽略。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a whole number: it is read as 0.</source>
        <translation>%1 “%2”不是整数：按 0 读取。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; has parts that are not whole numbers: they are read as 0.</source>
        <translation>%1 “%2”中有不是整数的部分：这些部分按 0 读取。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not two whole numbers &quot;x,y&quot;: it is read as %3.</source>
        <translation>%1 “%2”不是两个整数“x,y”：按 %3 读取。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not two whole numbers &quot;width,height&quot;: it is read as %3.</source>
        <translation>%1 “%2”不是两个整数“宽,高”：按 %3 读取。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not four whole numbers &quot;x,y,width,height&quot;: it is read as %3.</source>
        <translation>%1 “%2”不是四个整数“x,y,宽,高”：按 %3 读取。</translation>
    </message>
    <message>
        <source>The sheet %1 of this tile file does not exist: none of its tiles are loaded, and styles that use them draw no image.</source>
        <translation>此切图文件的图片 %1 不存在：其中的切图都不会加载，使用它们的样式不绘制图片。</translation>
    </message>
    <message>
        <source>This sheet is %1x%2 pixels, over the image size bound of %3 pixels a side and %4 pixels: none of the tiles of %5 are loaded.</source>
        <translation>此图片为 %1x%2 像素，超出图像尺寸上限（每边 %3 像素，共 %4 像素）：%5 中的切图都不会加载。</translation>
    </message>
    <message>
        <source>This sheet cannot be decoded as an image: none of the tiles of %1 are loaded, and styles that use them draw no image.</source>
        <translation>此图片无法解码：%1 中的切图都不会加载，使用它们的样式不绘制图片。</translation>
    </message>
    <message>
        <source>The tile is the whole sheet.</source>
        <translation>切图为整张图片。</translation>
    </message>
    <message>
        <source>The tile is empty and draws nothing.</source>
        <translation>切图为空，不绘制任何内容。</translation>
    </message>
    <message>
        <source>%1 %2 has a width or height of 0 or less: the tile is empty and draws nothing.</source>
        <translation>%1 %2 的宽或高不大于 0：切图为空，不绘制任何内容。</translation>
    </message>
    <message>
        <source>%1 %2 reaches outside the %3x%4 sheet: the part outside is transparent.</source>
        <translation>%1 %2 超出了 %3x%4 的图片：超出的部分是透明的。</translation>
    </message>
    <message>
        <source>The tile scales plainly, without fixed borders.</source>
        <translation>切图按整体缩放，没有固定边框。</translation>
    </message>
    <message>
        <source>%1 %2 has a width or height of 0 or less.</source>
        <translation>%1 %2 的宽或高不大于 0。</translation>
    </message>
    <message>
        <source>%1 %2 is not inside its tile %3 (in sheet pixels): the borders around it come out wrong when the tile is stretched.</source>
        <translation>%1 %2 不在其切图 %3（图片像素）之内：切图拉伸时其周围的边框会出错。</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not a colour (3, 6, 9 or 12 hexadecimal digits, or 8 with the alpha first, without &quot;#&quot;): %3</source>
        <translation>%1 “%2”不是颜色（应为 3、6、9 或 12 位十六进制数字，或透明度在前的 8 位，不带“#”）：%3</translation>
    </message>
    <message>
        <source>the label is drawn without its shadow.</source>
        <translation>文字绘制时没有阴影。</translation>
    </message>
    <message>
        <source>the style&apos;s label or colour is drawn opaque black.</source>
        <translation>该样式的文字或颜色绘制为不透明的黑色。</translation>
    </message>
    <message>
        <source>%1 names the tile &quot;%2&quot;, which no tile file in the res directories has: the style draws its label or colour instead of an image.</source>
        <translation>%1 指定的切图“%2”在 res 目录的切图文件中都不存在：该样式改为绘制其文字或颜色。</translation>
    </message>
    <message>
        <source>%1 names %2, which is neither in the res directories nor in the directories holding them: the sound cannot be played.</source>
        <translation>%1 指定的 %2 既不在 res 目录中，也不在包含它们的目录中：声音无法播放。</translation>
    </message>
    <message>
        <source>%1 names %2, which is not a .ttf file: only .ttf fonts are loaded, so labels use the built-in font instead.</source>
        <translation>%1 指定的 %2 不是 .ttf 文件：只加载 .ttf 字体，因此文字改用内置字体。</translation>
    </message>
    <message>
        <source>%1 names %2, which is not in the res directories: labels use the built-in font instead.</source>
        <translation>%1 指定的 %2 不在 res 目录中：文字改用内置字体。</translation>
    </message>
    <message>
        <source>There is no gen.ini beside this panel file: values this file does not give are empty, and keys have no position offsets.</source>
        <translation>此面板文件旁没有 gen.ini：此文件未给出的值为空，按键没有位置偏移。</translation>
    </message>
    <message>
        <source>No style table was found (looked for %1): every style number draws nothing.</source>
        <translation>未找到样式表（查找了 %1）：所有样式编号都不绘制任何内容。</translation>
    </message>
    <message>
        <source>The panel is not drawn.</source>
        <translation>面板不会被绘制。</translation>
    </message>
    <message>
        <source>The panel has no PANEL/SIZE, neither here nor in gen.ini.</source>
        <translation>面板没有 PANEL/SIZE，此文件和 gen.ini 中都没有。</translation>
    </message>
    <message>
        <source>PANEL/SIZE %1 has a width or height of 0 or less.</source>
        <translation>PANEL/SIZE %1 的宽或高不大于 0。</translation>
    </message>
    <message>
        <source>PANEL/SIZE %1 makes a preview of %2x%3 pixels, over the image size bound of %4 pixels a side and %5 pixels.</source>
        <translation>PANEL/SIZE %1 使预览图为 %2x%3 像素，超出图像尺寸上限（每边 %4 像素，共 %5 像素）。</translation>
    </message>
    <message>
        <source>CAND/VIEW_RECT %1 has a width or height of 0 or less: the candidate area is empty.</source>
        <translation>CAND/VIEW_RECT %1 的宽或高不大于 0：候选区为空。</translation>
    </message>
    <message>
        <source>CAND/LAYOUT_NAME %1 names the layout file %2, which does not exist: the candidate area is drawn without its background, icons and candidates.</source>
        <translation>CAND/LAYOUT_NAME %1 指定的布局文件 %2 不存在：候选区绘制时没有背景、图标和候选词。</translation>
    </message>
    <message>
        <source>LIST/PADDING &quot;%1&quot; is not four numbers &quot;left,top,right,bottom&quot;: the list is drawn without padding.</source>
        <translation>LIST/PADDING “%1”不是四个数“左,上,右,下”：列表绘制时没有内边距。</translation>
    </message>
    <message>
        <source>CAND/PADDING &quot;%1&quot; has fewer than four numbers &quot;left,top,right,bottom&quot;: the candidates are drawn without padding.</source>
        <translation>CAND/PADDING “%1”少于四个数“左,上,右,下”：候选词绘制时没有内边距。</translation>
    </message>
    <message>
        <source>%1 %2 is not an anchor from 0 to 9: the icon is not drawn.</source>
        <translation>%1 %2 不是 0 到 9 之间的锚点：图标不会被绘制。</translation>
    </message>
    <message>
        <source>The key is not drawn and cannot be clicked.</source>
        <translation>按键不会被绘制，也无法点击。</translation>
    </message>
    <message>
        <source>%1 has no VIEW_RECT.</source>
        <translation>%1 没有 VIEW_RECT。</translation>
    </message>
    <message>
        <source>%1 %2 reaches outside the panel (%3x%4): the part outside is cut off.</source>
        <translation>%1 %2 超出了面板（%3x%4）：超出的部分被裁掉。</translation>
    </message>
    <message>
        <source>A touch on the key is not taken by it.</source>
        <translation>触摸该按键不会被它接收。</translation>
    </message>
    <message>
        <source>%1 %2 does not contain the VIEW_RECT %3: a touch on the part of the key outside it is not taken by the key.</source>
        <translation>%1 %2 没有包含 VIEW_RECT %3：触摸按键在其外的部分不会被按键接收。</translation>
    </message>
    <message>
        <source>%1 overlaps %2 (VIEW_RECT %3 and %4): a click there selects both, and the key drawn later covers the other.</source>
        <translation>%1 与 %2 重叠（VIEW_RECT %3 与 %4）：点击重叠处会同时选中两者，后绘制的按键会盖住另一个。</translation>
    </message>
    <message>
        <source>%1 names style %2, which the style table %3 does not have: nothing is drawn for it.</source>
        <translation>%1 指定的样式 %2 在样式表 %3 中不存在：不绘制任何内容。</translation>
    </message>
    <message>
        <source>(The table&apos;s section %1 is not style %2: look-ups use the number as written, without leading zeros.)</source>
        <translation>（样式表中的节 %1 不是样式 %2：查找时使用不带前导零的编号。）</translation>
    </message>
</context>
<context>
    <name>SkinConfigEditView</name>
    <message>
        <source>Unsaved changes</source>
        <translation>未保存的修改</translation>
    </message>
    <message>
        <source>The text editor holds changes that are not saved. Save them before going on?</source>
        <translation>文本编辑器中有尚未保存的修改。继续之前要保存吗？</translation>
    </message>
    <message>
        <source>File changed on disk</source>
        <translation>文件已在磁盘上被修改</translation>
    </message>
    <message>
        <source>The file was changed on disk while the text editor holds changes that are not saved.</source>
        <translation>文本编辑器中有尚未保存的修改时，该文件已在磁盘上被修改。</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>重新加载</translation>
    </message>
    <message>
        <source>Keep mine</source>
        <translation>保留我的修改</translation>
    </message>
</context>
<context>
    <name>SkinFileTree</name>
    <message>
        <source>Skin working directory</source>
        <translation>皮肤工作目录</translation>
    </message>
</context>
<context>
    <name>StatusBar</name>
    <message>
        <source>Resolution: </source>
        <translation>分辨率：</translation>
    </message>
    <message>
        <source>Device Resolution: </source>
        <translation>设备分辨率：</translation>
    </message>
    <message>
        <source>Panel Size: %1, %2</source>
        <translation>面板尺寸：%1, %2</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>消息</translation>
    </message>
</context>
<context>
    <name>StatusSelector</name>
    <message>
        <source> no status</source>
        <translation> 无状态</translation>
    </message>
    <message>
        <source> candiate</source>
        <translation> 候选</translation>
    </message>
</context>
<context>
    <name>StylesList</name>
    <message>
        <source>Scale: </source>
        <translation>缩放：</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Highlight</source>
        <translation>高亮</translation>
    </message>
    <message>
        <source>Position at: </source>
        <translation>定位到：</translation>
    </message>
</context>
<context>
    <name>SyncBatch</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 及另外 %2 项</translation>
    </message>
    <message>
        <source>%1 may not have reached the disk: %2.</source>
        <translation>%1 可能没有写到磁盘上：%2。</translation>
    </message>
</context>
<context>
    <name>TileToolDialog</name>
    <message>
        <source>Tile Tool</source>
        <translation>切片工具</translation>
    </message>
    <message>
        <source>til file for split</source>
        <translation>要切分的 til 文件</translation>
    </message>
    <message>
        <source>til file (*.til)</source>
        <translation>til 文件 (*.til)</translation>
    </message>
    <message>
        <source>target directory for split</source>
        <translation>切分的目标目录</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>切分</translation>
    </message>
    <message>
        <source>source directory for join</source>
        <translation>要合并的源目录</translation>
    </message>
    <message>
        <source>til file for join</source>
        <translation>合并生成的 til 文件</translation>
    </message>
    <message>
        <source>Starting number</source>
        <translation>起始编号</translation>
    </message>
    <message>
        <source>Vertical order</source>
        <translation>垂直排列</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>合并</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Select All &amp;Keys</source>
        <translation>全选按键(&amp;K)</translation>
    </message>
    <message>
        <source>&amp;Clear Selection</source>
        <translation>取消选择(&amp;C)</translation>
    </message>
    <message>
        <source>Duplicate Ke&amp;ys</source>
        <translation>复制按键(&amp;Y)</translation>
    </message>
    <message>
        <source>Dele&amp;te Keys</source>
        <translation>删除按键(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Keyboard Shortcuts</source>
        <translation>快捷键(&amp;K)</translation>
    </message>
    <message>
        <source>Quillmark Studio</source>
        <translation>Quillmark Studio</translation>
    </message>
    <message>
        <source>&amp;New Panel File...</source>
        <translation>新建面板文件(&amp;N)...</translation>
    </message>
    <message>
        <source>&amp;Open Panel File...</source>
        <translation>打开面板文件(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Import Skin...</source>
        <translation>导入皮肤(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Export Skin...</source>
        <translation>导出皮肤(&amp;E)...</translation>
    </message>
    <message>
        <source>E&amp;xport As Image...</source>
        <translation>导出为图片(&amp;X)...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>Reload</source>
        <translation>重新加载</translation>
    </message>
    <message>
        <source>E&amp;xchange Keys</source>
        <translation>交换按键(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Move Keys</source>
        <translation>移动按键(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Adjust Keys</source>
        <translation>调整按键(&amp;A)</translation>
    </message>
    <message>
        <source>A&amp;lign Keys</source>
        <translation>对齐按键(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Edit Key</source>
        <translation>编辑按键(&amp;E)</translation>
    </message>
    <message>
        <source>A&amp;dd key</source>
        <translation>添加按键(&amp;D)</translation>
    </message>
    <message>
        <source>Remo&amp;ve Key</source>
        <translation>移除按键(&amp;V)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>设置(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Tool</source>
        <translation>工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Generate Font Resources</source>
        <translation>字体资源生成(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Resolution Convert</source>
        <translation>资源分辨率转换(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Panel Scale</source>
        <translation>面板缩放(&amp;P)</translation>
    </message>
    <message>
        <source>&amp;Tile Tool</source>
        <translation>切片工具(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Inner Rect Tool</source>
        <translation>内切工具(&amp;I)</translation>
    </message>
    <message>
        <source>Te&amp;xt editor</source>
        <translation>文本编辑器(&amp;X)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>S&amp;earch &amp;&amp; Replace</source>
        <translation>查找 &amp;&amp; 替换(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>帮助(&amp;H)</translation>
    </message>
    <message>
        <source>Open Panel File</source>
        <translation>打开面板文件</translation>
    </message>
    <message>
        <source>Ini files (*.ini)</source>
        <translation>Ini 文件 (*.ini)</translation>
    </message>
    <message>
        <source>Export As Image</source>
        <translation>导出为图片</translation>
    </message>
    <message>
        <source>png file (*.png)</source>
        <translation>png 文件 (*.png)</translation>
    </message>
    <message>
        <source>jpg file (*.jpg *.jpeg)</source>
        <translation>jpg 文件 (*.jpg *.jpeg)</translation>
    </message>
    <message>
        <source>bmp file (*.bmp)</source>
        <translation>bmp 文件 (*.bmp)</translation>
    </message>
    <message>
        <source>Import Skin</source>
        <translation>导入皮肤</translation>
    </message>
    <message>
        <source>bds files (*.bds *.bdi *.zip)</source>
        <translation>bds 文件 (*.bds *.bdi *.zip)</translation>
    </message>
    <message>
        <source>Export Skin</source>
        <translation>导出皮肤</translation>
    </message>
    <message>
        <source>bds file (*.bds)</source>
        <translation>bds 文件 (*.bds)</translation>
    </message>
    <message>
        <source>bdi file (*.bdi)</source>
        <translation>bdi 文件 (*.bdi)</translation>
    </message>
    <message>
        <source>zip file (*.zip)</source>
        <translation>zip 文件 (*.zip)</translation>
    </message>
    <message>
        <source>No skin working directory is set, so %1 was not imported. Choose one in the settings.</source>
        <translation>未设置皮肤工作目录，因此没有导入 %1。请在设置中选择一个。</translation>
    </message>
    <message>
        <source>The skin working directory %1 is the root, your home directory or a directory above it, which is never emptied, so %2 was not imported. Choose another one in the settings.</source>
        <translation>皮肤工作目录 %1 是根目录、用户主目录或其上级目录，这些目录永远不会被清空，因此没有导入 %2。请在设置中另选一个。</translation>
    </message>
    <message>
        <source>%1 lies in the skin working directory, which is emptied before importing, so it was not imported.</source>
        <translation>%1 位于皮肤工作目录中，而该目录会在导入前被清空，因此没有导入它。</translation>
    </message>
    <message>
        <source>%1 is not a skin archive, so it was not imported; the skin working directory is kept.</source>
        <translation>%1 不是皮肤压缩包，因此没有导入；皮肤工作目录保持不变。</translation>
    </message>
    <message>
        <source>Importing %1 empties the skin working directory %2 first: its %3 files and folders (counted all the way down) will be deleted.</source>
        <translation>导入 %1 会先清空皮肤工作目录 %2：其中的 %3 个文件和文件夹（包括所有子目录中的）将被删除。</translation>
    </message>
    <message>
        <source>Delete and Import</source>
        <translation>删除并导入</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近打开(&amp;R)</translation>
    </message>
    <message>
        <source>Import the skin archive %1 into the skin working directory?</source>
        <translation>将皮肤压缩包 %1 导入到皮肤工作目录吗？</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>%1 was not imported: an import or export is still running. Wait for it or cancel it first.</source>
        <translation>%1 没有导入：另一个导入或导出仍在进行。请等待它结束或先取消它。</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>正在导入 %1</translation>
    </message>
    <message>
        <source>Exporting to %1</source>
        <translation>正在导出到 %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Tools</name>
    <message>
        <source>Nothing was scaled into %1: %2 could not be written.</source>
        <translation>未缩放任何文件到 %1：无法写入 %2。</translation>
    </message>
    <message>
        <source>No image was saved into %1: %2</source>
        <translation>未保存任何图片到 %1：%2</translation>
    </message>
    <message>
        <source>the sheet %1 can not be written: %2</source>
        <translation>无法写入图片 %1：%2</translation>
    </message>
    <message>
        <source>%1 can not be written: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <source>%1 and its sheet can not be written: %2</source>
        <translation>无法写入 %1 及其图片：%2</translation>
    </message>
    <message>
        <source>The rows ask for more than %1 keys; %2 was not written.</source>
        <translation>各行要求的按键超过 %1 个；没有写入 %2。</translation>
    </message>
    <message>
        <source>%1 can not be written; no panel file was created.</source>
        <translation>无法写入 %1；没有创建面板文件。</translation>
    </message>
    <message>
        <source>Created %1 with %2 keys.</source>
        <translation>已创建 %1，共 %2 个按键。</translation>
    </message>
    <message>
        <source>The source resolutions must be above 0; nothing was scaled.</source>
        <translation>源分辨率必须大于 0；没有缩放任何文件。</translation>
    </message>
    <message>
        <source>The source directory %1 does not exist; nothing was scaled.</source>
        <translation>源目录 %1 不存在；没有缩放任何文件。</translation>
    </message>
    <message>
        <source>The target directory %1 can not be created; nothing was scaled.</source>
        <translation>无法创建目标目录 %1；没有缩放任何文件。</translation>
    </message>
    <message>
        <source>%1 holds no panel or candidate file; nothing was scaled.</source>
        <translation>%1 中没有面板文件或候选文件；没有缩放任何文件。</translation>
    </message>
    <message>
        <source>Scaled %1 panel and candidate files into %2.</source>
        <translation>已将 %1 个面板文件和候选文件缩放到 %2。</translation>
    </message>
    <message>
        <source>Scaled %1 of %2 panel and candidate files into %3; the log says why the others were not.</source>
        <translation>已将 %2 个面板文件和候选文件中的 %1 个缩放到 %3；其余文件的原因见日志。</translation>
    </message>
    <message>
        <source>%1 can not be opened: it or its sheet %2 is missing or unreadable.</source>
        <translation>无法打开 %1：它或它的图片 %2 不存在或无法读取。</translation>
    </message>
    <message>
        <source>The inner rect %1 is out of range; it was not previewed.</source>
        <translation>内切矩形 %1 超出范围；没有预览。</translation>
    </message>
    <message>
        <source>No tile is chosen; no inner rect was saved.</source>
        <translation>没有选择切片；没有保存内切矩形。</translation>
    </message>
    <message>
        <source>The inner rect of tile %1 lies outside the sheet's coordinates; it was not saved.</source>
        <translation>切片 %1 的内切矩形超出了图片坐标范围；没有保存。</translation>
    </message>
    <message>
        <source>%1 can not be written; the inner rect of tile %2 was not saved.</source>
        <translation>无法写入 %1；切片 %2 的内切矩形没有保存。</translation>
    </message>
    <message>
        <source>Saved the inner rect of tile %1 to %2.</source>
        <translation>已将切片 %1 的内切矩形保存到 %2。</translation>
    </message>
    <message>
        <source>%1 holds no tile file to convert; nothing was converted.</source>
        <translation>%1 中没有可转换的 til 文件；没有转换任何文件。</translation>
    </message>
    <message>
        <source>Converted %1 tile files with their sheets into %2.</source>
        <translation>已将 %1 个 til 文件及其图片转换到 %2。</translation>
    </message>
    <message>
        <source>Converted %1 of %2 tile files into %3; the log says why the others were not.</source>
        <translation>已将 %2 个 til 文件中的 %1 个转换到 %3；其余文件的原因见日志。</translation>
    </message>
    <message>
        <source>The source directory %1 does not exist; nothing was converted.</source>
        <translation>源目录 %1 不存在；没有转换任何文件。</translation>
    </message>
    <message>
        <source>The resolutions must be above 0; nothing was converted.</source>
        <translation>分辨率必须大于 0；没有转换任何文件。</translation>
    </message>
    <message>
        <source>The target directory %1 can not be created; nothing was converted.</source>
        <translation>无法创建目标目录 %1；没有转换任何文件。</translation>
    </message>
    <message>
        <source>%1 is not a font file that can be loaded.</source>
        <translation>%1 不是可以加载的字体文件。</translation>
    </message>
    <message>
        <source>Loaded %1 from %2.</source>
        <translation>已从 %2 加载 %1。</translation>
    </message>
    <message>
        <source>Generated %1 images.</source>
        <translation>已生成 %1 张图片。</translation>
    </message>
    <message>
        <source>%1 is not a directory; no image was saved.</source>
        <translation>%1 不是目录；没有保存任何图片。</translation>
    </message>
    <message>
        <source>There is no generated image to save; nothing was saved.</source>
        <translation>没有已生成的图片可保存；没有保存任何内容。</translation>
    </message>
    <message>
        <source>Saved %1 images into %2.</source>
        <translation>已将 %1 张图片保存到 %2。</translation>
    </message>
    <message>
        <source>Saved %1 of %2 images into %3; the log says why the others were not.</source>
        <translation>已将 %2 张图片中的 %1 张保存到 %3；其余图片的原因见日志。</translation>
    </message>
    <message>
        <source>%1 was not written: %2</source>
        <translation>没有写入 %1：%2</translation>
    </message>
    <message>
        <source>Saved %1 images as %2 with its sheet.</source>
        <translation>已将 %1 张图片保存为 %2 及其图片。</translation>
    </message>
    <message>
        <source>the directory %1 does not exist</source>
        <translation>目录 %1 不存在</translation>
    </message>
    <message>
        <source>the sheet would be %1 x %2 pixels, more than an image may have</source>
        <translation>图片将为 %1 x %2 像素，超出了图片允许的大小</translation>
    </message>
    <message>
        <source>the sheet %1 can not be written</source>
        <translation>无法写入图片 %1</translation>
    </message>
    <message>
        <source>%1 can not be written</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>The tile file %1 does not exist; nothing was split.</source>
        <translation>til 文件 %1 不存在；没有拆分任何切片。</translation>
    </message>
    <message>
        <source>The sheet %1 does not exist; nothing was split.</source>
        <translation>图片 %1 不存在；没有拆分任何切片。</translation>
    </message>
    <message>
        <source>The target directory %1 does not exist; nothing was split.</source>
        <translation>目标目录 %1 不存在；没有拆分任何切片。</translation>
    </message>
    <message>
        <source>The sheet %1 can not be read; nothing was split.</source>
        <translation>无法读取图片 %1；没有拆分任何切片。</translation>
    </message>
    <message>
        <source>%1 lists no tile; nothing was split.</source>
        <translation>%1 中没有切片；没有拆分任何切片。</translation>
    </message>
    <message>
        <source>Split %1 tiles of %2 into %3.</source>
        <translation>已将 %2 的 %1 个切片拆分到 %3。</translation>
    </message>
    <message>
        <source>Split %1 of %2 tiles into %3; the log says why the others were not.</source>
        <translation>已将 %2 个切片中的 %1 个拆分到 %3；其余切片的原因见日志。</translation>
    </message>
    <message>
        <source>The source directory %1 does not exist; nothing was joined.</source>
        <translation>源目录 %1 不存在；没有合并任何图片。</translation>
    </message>
    <message>
        <source>The sheet would be %1 x %2 pixels, more than an image may have; nothing was joined.</source>
        <translation>图片将为 %1 x %2 像素，超出了图片允许的大小；没有合并任何图片。</translation>
    </message>
    <message>
        <source>The starting number %1 is too large for %2 images; nothing was joined.</source>
        <translation>起始编号 %1 对 %2 张图片来说太大；没有合并任何图片。</translation>
    </message>
    <message>
        <source>%1 holds no PNG image; %2 lists no tile.</source>
        <translation>%1 中没有 PNG 图片；%2 中没有切片。</translation>
    </message>
    <message>
        <source>Joined %1 images into %2, but %3 of them could not be read and are empty tiles.</source>
        <translation>已将 %1 张图片合并到 %2，但其中 %3 张无法读取，成为空切片。</translation>
    </message>
    <message>
        <source>Joined %1 images into %2 and its sheet.</source>
        <translation>已将 %1 张图片合并到 %2 及其图片。</translation>
    </message>
</context>
<context>
    <name>ArchiveJob</name>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 等另外 %2 项</translation>
    </message>
    <message>
        <source>%1 was not started: another import or export is running. Wait for it or cancel it first.</source>
        <translation>%1 没有开始：另一个导入或导出正在进行。请等待它结束或先取消它。</translation>
    </message>
    <message>
        <source>Imported %1 into %2 (%3 files).</source>
        <translation>已将 %1 导入到 %2（%3 个文件）。</translation>
    </message>
    <message>
        <source>The import of %1 was cancelled; the skin working directory %2 is as it was.</source>
        <translation>%1 的导入已取消；皮肤工作目录 %2 保持原样。</translation>
    </message>
    <message>
        <source>%1 was not imported; the skin working directory %2 is as it was: %3</source>
        <translation>%1 没有导入；皮肤工作目录 %2 保持原样：%3</translation>
    </message>
    <message>
        <source>The skin directory %1 does not exist, so nothing was exported to %2.</source>
        <translation>皮肤目录 %1 不存在，因此没有导出到 %2。</translation>
    </message>
    <message>
        <source>Exported the skin %1 to %2 (%3 files).</source>
        <translation>已将皮肤 %1 导出到 %2（%3 个文件）。</translation>
    </message>
    <message>
        <source>Left out (links leading outside the skin or in a loop, or not regular files): %1.</source>
        <translation>未打包（指向皮肤之外或成环的链接，或不是普通文件）：%1。</translation>
    </message>
    <message>
        <source>The export to %1 was cancelled; nothing was written there.</source>
        <translation>导出到 %1 已取消；那里没有写入任何内容。</translation>
    </message>
    <message>
        <source>The skin was not exported: %1 can not be written.</source>
        <translation>皮肤没有导出：无法写入 %1。</translation>
    </message>
</context>
<context>
    <name>Utils</name>
    <message>
        <source>No skin working directory is set; nothing was deleted.</source>
        <translation>未设置皮肤工作目录；没有删除任何内容。</translation>
    </message>
    <message>
        <source>%1 is the root, your home directory or a directory above it; it is never emptied, nothing was deleted.</source>
        <translation>%1 是根目录、用户主目录或其上级目录；它永远不会被清空，没有删除任何内容。</translation>
    </message>
    <message>
        <source>%1 could not be emptied: %2 of its entries could not be deleted.</source>
        <translation>%1 未能清空：其中 %2 项无法删除。</translation>
    </message>
    <message>
        <source>Emptied %1: %2 entries deleted.</source>
        <translation>已清空 %1：删除了 %2 项。</translation>
    </message>
    <message>
        <source>Exported the skin %1 to %2 (%3 files).</source>
        <translation>已将皮肤 %1 导出到 %2（%3 个文件）。</translation>
    </message>
    <message>
        <source>The skin was not exported: %1</source>
        <translation>皮肤没有导出：%1</translation>
    </message>
    <message>
        <source>Imported %1 into %2 (%3 files).</source>
        <translation>已将 %1 导入到 %2（%3 个文件）。</translation>
    </message>
    <message>
        <source>The skin was not imported completely: %1</source>
        <translation>皮肤没有完整导入：%1</translation>
    </message>
</context>
<context>
    <name>ShortcutsDialog</name>
    <message>
        <source>Click</source>
        <translation>单击</translation>
    </message>
    <message>
        <source>select the key under the pointer</source>
        <translation>选中指针下的按键</translation>
    </message>
    <message>
        <source>Ctrl+click, Shift+click</source>
        <translation>Ctrl+单击、Shift+单击</translation>
    </message>
    <message>
        <source>add or remove a key</source>
        <translation>添加或移除一个按键</translation>
    </message>
    <message>
        <source>Drag on an empty area</source>
        <translation>在空白处拖动</translation>
    </message>
    <message>
        <source>select the keys the band touches</source>
        <translation>选中选框触及的按键</translation>
    </message>
    <message>
        <source>Drag a selected key</source>
        <translation>拖动选中的按键</translation>
    </message>
    <message>
        <source>move the selection</source>
        <translation>移动所选按键</translation>
    </message>
    <message>
        <source>Drag a handle</source>
        <translation>拖动控制点</translation>
    </message>
    <message>
        <source>resize a single key (Shift keeps the aspect)</source>
        <translation>调整单个按键的大小（按住 Shift 保持比例）</translation>
    </message>
    <message>
        <source>Alt while dragging</source>
        <translation>拖动时按住 Alt</translation>
    </message>
    <message>
        <source>move or resize without snapping</source>
        <translation>移动或调整大小时不吸附</translation>
    </message>
    <message>
        <source>Arrow keys</source>
        <translation>方向键</translation>
    </message>
    <message>
        <source>nudge the selection by 1 unit</source>
        <translation>将所选按键移动 1 个单位</translation>
    </message>
    <message>
        <source>Shift+arrow keys</source>
        <translation>Shift+方向键</translation>
    </message>
    <message>
        <source>nudge the selection by 10 units</source>
        <translation>将所选按键移动 10 个单位</translation>
    </message>
    <message>
        <source>select all keys</source>
        <translation>选中全部按键</translation>
    </message>
    <message>
        <source>clear the selection</source>
        <translation>取消选择</translation>
    </message>
    <message>
        <source>remove the selected keys</source>
        <translation>删除所选按键</translation>
    </message>
    <message>
        <source>duplicate the selected keys</source>
        <translation>复制所选按键</translation>
    </message>
    <message>
        <source>Middle button drag, Space+drag</source>
        <translation>中键拖动、空格+拖动</translation>
    </message>
    <message>
        <source>pan the preview</source>
        <translation>平移预览</translation>
    </message>
    <message>
        <source>Wheel</source>
        <translation>滚轮</translation>
    </message>
    <message>
        <source>zoom around the pointer</source>
        <translation>以指针为中心缩放</translation>
    </message>
    <message>
        <source>Double-click on an empty area</source>
        <translation>双击空白处</translation>
    </message>
    <message>
        <source>actual size</source>
        <translation>实际大小</translation>
    </message>
    <message>
        <source>Ctrl+Z, Ctrl+Shift+Z</source>
        <translation>Ctrl+Z、Ctrl+Shift+Z</translation>
    </message>
    <message>
        <source>undo, redo</source>
        <translation>撤销、重做</translation>
    </message>
    <message>
        <source>reload the panel</source>
        <translation>重新加载面板</translation>
    </message>
    <message>
        <source>Keyboard Shortcuts</source>
        <translation>快捷键</translation>
    </message>
</context>
</TS>
