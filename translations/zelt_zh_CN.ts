<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>EscLabels</name>
    <message>
        <source>HW Type: Unknown</source>
        <translation>硬件类型：未知</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>硬件版本：未知</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>固件版本：未知</translation>
    </message>
    <message>
        <source>HW type: unknown</source>
        <translation>硬件类型：未知</translation>
    </message>
    <message>
        <source>HW version: unknown</source>
        <translation>硬件版本：未知</translation>
    </message>
    <message>
        <source>FW version: unknown</source>
        <translation>固件版本：未知</translation>
    </message>
    <message>
        <source>HW type:unknown</source>
        <translation>硬件类型：未知</translation>
    </message>
    <message>
        <source>HW version:unknown</source>
        <translation>硬件版本：未知</translation>
    </message>
    <message>
        <source>FW version:unknown</source>
        <translation>固件版本：未知</translation>
    </message>
    <message>
        <source>HW type:%1</source>
        <translation>硬件类型：%1</translation>
    </message>
    <message>
        <source>HW version:V%1</source>
        <translation>硬件版本：V%1</translation>
    </message>
    <message>
        <source>FW version:V%1</source>
        <translation>固件版本：V%1</translation>
    </message>
</context>
<context>
    <name>LogWindow</name>
    <message>
        <source>Link trace</source>
        <translation>通信记录</translation>
    </message>
    <message>
        <source>Link trace lines</source>
        <translation>通信记录行</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>保存...</translation>
    </message>
    <message>
        <source>Log file (*.log)</source>
        <translation>日志文件 (*.log)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>无法写入 %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>SpeedPlotView</name>
    <message>
        <source>Speed plot</source>
        <translation>转速曲线</translation>
    </message>
    <message>
        <source>The measured speed and the throttle of the last 60 s</source>
        <translation>最近 60 秒的实测转速和油门</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>speed (rpm)</source>
        <translation>转速 (rpm)</translation>
    </message>
    <message>
        <source>throttle (us)</source>
        <translation>油门 (us)</translation>
    </message>
</context>
<context>
    <name>SpeedPlotWindow</name>
    <message>
        <source>Speed plot</source>
        <translation>转速曲线</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>导出 CSV...</translation>
    </message>
    <message>
        <source>Export PNG...</source>
        <translation>导出 PNG...</translation>
    </message>
    <message>
        <source>CSV file (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG 图像 (*.png)</translation>
    </message>
    <message>
        <source>the image could not be saved there</source>
        <translation>无法在此处保存图像</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Unable to write to %1<byte value="xd"/>
%2</source>
        <translation>无法写入 %1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>ZELT brushless ESC software V1.2 </source>
        <translation>ZELT 无刷电调软件 V1.2 </translation>
    </message>
    <message>
        <source>Choose COM</source>
        <translation>选择 COM</translation>
    </message>
    <message>
        <source>COM Connection</source>
        <translation>COM 连接</translation>
    </message>
    <message>
        <source>ESC Hardware</source>
        <translation>电调硬件</translation>
    </message>
    <message>
        <source>HW Type: Unknown</source>
        <translation>硬件类型：未知</translation>
    </message>
    <message>
        <source>HW version: Unknown</source>
        <translation>硬件版本：未知</translation>
    </message>
    <message>
        <source>FW version: Unknown</source>
        <translation>固件版本：未知</translation>
    </message>
    <message>
        <source>ESC Connection</source>
        <translation>电调连接</translation>
    </message>
    <message>
        <source>Parameter Setup/Display</source>
        <translation>参数设置/显示</translation>
    </message>
    <message>
        <source>Cut Off Type</source>
        <translation>断电类型</translation>
    </message>
    <message>
        <source>Soft cut*</source>
        <translation>软断电*</translation>
    </message>
    <message>
        <source>Cut off</source>
        <translation>断电</translation>
    </message>
    <message>
        <source>Battery Type</source>
        <translation>电池类型</translation>
    </message>
    <message>
        <source>Cut Off Voltage</source>
        <translation>断电电压</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>低</translation>
    </message>
    <message>
        <source>Middle*</source>
        <translation>中*</translation>
    </message>
    <message>
        <source>High</source>
        <translation>高</translation>
    </message>
    <message>
        <source>Start Mode</source>
        <translation>启动模式</translation>
    </message>
    <message>
        <source>Normal start*</source>
        <translation>普通启动*</translation>
    </message>
    <message>
        <source>Soft start</source>
        <translation>软启动</translation>
    </message>
    <message>
        <source>Very soft start</source>
        <translation>超软启动</translation>
    </message>
    <message>
        <source>Brake Mode</source>
        <translation>刹车模式</translation>
    </message>
    <message>
        <source>Brake off*</source>
        <translation>无刹车*</translation>
    </message>
    <message>
        <source>Low brake</source>
        <translation>弱刹车</translation>
    </message>
    <message>
        <source>Middle brake</source>
        <translation>中刹车</translation>
    </message>
    <message>
        <source>High brake</source>
        <translation>强刹车</translation>
    </message>
    <message>
        <source>Timing option</source>
        <translation>进角</translation>
    </message>
    <message>
        <source>Current limited sesitivity</source>
        <translation>限流灵敏度</translation>
    </message>
    <message>
        <source>Highest</source>
        <translation>最高</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Govener mode</source>
        <translation>定速模式</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>关</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Li-xx*</source>
        <translation>锂电*</translation>
    </message>
    <message>
        <source>Ni-xx</source>
        <translation>镍电</translation>
    </message>
    <message>
        <source>Opration select</source>
        <translation>操作选择</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>转速</translation>
    </message>
    <message>
        <source>Auto find hardware</source>
        <translation>自动查找硬件</translation>
    </message>
    <message>
        <source>Load setup</source>
        <translation>载入设置</translation>
    </message>
    <message>
        <source>Save setup</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <source>Update firmware</source>
        <translation>更新固件</translation>
    </message>
    <message>
        <source>Read ESC parameter</source>
        <translation>读取电调参数</translation>
    </message>
    <message>
        <source>Restore default  parameter</source>
        <translation>恢复默认参数</translation>
    </message>
    <message>
        <source>Download parameter to ESC</source>
        <translation>下载参数到电调</translation>
    </message>
    <message>
        <source>Rotate speed test</source>
        <translation>转速测试</translation>
    </message>
    <message>
        <source>Throttle signal</source>
        <translation>油门信号</translation>
    </message>
    <message>
        <source>Polarity number</source>
        <translation>极数</translation>
    </message>
    <message>
        <source>Rotate speed</source>
        <translation>转速</translation>
    </message>
    <message>
        <source>R/M</source>
        <translation>转/分</translation>
    </message>
    <message>
        <source>Current work status</source>
        <translation>当前工作状态</translation>
    </message>
    <message>
        <source>Wait user command</source>
        <translation>等待用户命令</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>进度</translation>
    </message>
    <message>
        <source>Logo</source>
        <translation>标志</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Zelt File (*.zelt)</source>
        <translation>Zelt 文件 (*.zelt)</translation>
    </message>
    <message>
        <source>ZELT ESC tool - remove the propeller before a speed test</source>
        <translation>ZELT 电调工具 - 转速测试前请拆下螺旋桨</translation>
    </message>
    <message>
        <source>Speed plot</source>
        <translation>转速曲线</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>无法写入 %1</translation>
    </message>
    <message>
        <source>Setting card connected</source>
        <translation>设置卡已连接</translation>
    </message>
    <message>
        <source>Setting card not connected</source>
        <translation>设置卡未连接</translation>
    </message>
    <message>
        <source>ESC identified</source>
        <translation>已识别电调</translation>
    </message>
    <message>
        <source>No ESC identified</source>
        <translation>未识别电调</translation>
    </message>
    <message>
        <source>Parameter mode selected</source>
        <translation>已选参数模式</translation>
    </message>
    <message>
        <source>Parameter mode not selected</source>
        <translation>未选参数模式</translation>
    </message>
    <message>
        <source>Speed test mode not selected</source>
        <translation>未选转速测试模式</translation>
    </message>
    <message>
        <source>Speed test mode selected</source>
        <translation>已选转速测试模式</translation>
    </message>
    <message>
        <source>%1% done</source>
        <translation>已完成 %1%</translation>
    </message>
</context>
<context>
    <name>box_text</name>
    <message>
        <source>Hardware not connect or Comm port select error</source>
        <translation>硬件未连接或 COM 端口选择错误</translation>
    </message>
    <message>
        <source>can not find hardware,please confirm:<byte value="xd"/>
  1.Hardware port connect.<byte value="xd"/>
  2.Hardware power.</source>
        <translation>找不到硬件，请确认：<byte value="xd"/>
  1. 硬件端口已连接。<byte value="xd"/>
  2. 硬件已通电。</translation>
    </message>
    <message>
        <source>Receive data error</source>
        <translation>接收数据错误</translation>
    </message>
    <message>
        <source>Hardware not connect,please connect first</source>
        <translation>硬件未连接，请先连接</translation>
    </message>
    <message>
        <source>Send parameter to ESC OK</source>
        <translation>参数已成功发送到电调</translation>
    </message>
    <message>
        <source>Save file error</source>
        <translation>保存文件错误</translation>
    </message>
    <message>
        <source>Receive data error,Please update Hardware again</source>
        <translation>接收数据错误，请重新更新硬件</translation>
    </message>
    <message>
        <source>Update hardware failure,Please update Hardware again</source>
        <translation>硬件更新失败，请重新更新硬件</translation>
    </message>
    <message>
        <source>sorry! You can not update of the ESC,<byte value="xd"/>
please contact manufacturers.</source>
        <translation>抱歉！此电调无法更新，<byte value="xd"/>
请联系制造商。</translation>
    </message>
    <message>
        <source>find setting card connected with%1<byte value="xd"/>
</source>
        <translation>在 %1 找到设置卡<byte value="xd"/>
</translation>
    </message>
    <message>
        <source>not find ESC</source>
        <translation>未找到电调</translation>
    </message>
    <message>
        <source>and find ESC%1</source>
        <translation>并找到电调 %1</translation>
    </message>
    <message>
        <source>The version you want to upgrade is same with current ESC firmware version,
<byte value="xd"/>Do you want to continue?</source>
        <translation>要升级的版本与电调当前固件版本相同，
<byte value="xd"/>是否继续？</translation>
    </message>
    <message>
        <source>Are you really update hardware to V%1</source>
        <translation>确定要将硬件更新到 V%1 吗？</translation>
    </message>
    <message>
        <source>Update hardware succeed,Firmware versionV%1.%2</source>
        <translation>硬件更新成功，固件版本 V%1.%2</translation>
    </message>
    <message>
        <source>Comm port open error！</source>
        <translation>串口打开错误！</translation>
    </message>
    <message>
        <source>No value selected for %1. Choose one before downloading.</source>
        <translation>未选择%1的值。请在下载前选择一个。</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>无法打开固件映像 %1：<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>Cannot read the firmware image %1:<byte value="xd"/>
%2</source>
        <translation>无法读取固件映像 %1：<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The firmware image %1 does not name its version in the first line (V, hex digit, point, hex digit).<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>固件映像 %1 的第一行没有写明版本（V、十六进制数字、点、十六进制数字）。<byte value="xd"/>
未向电调发送任何内容。</translation>
    </message>
    <message>
        <source>The firmware image %1 cannot be written: %2.<byte value="xd"/>
Nothing was sent to the ESC.</source>
        <translation>无法写入固件映像 %1：%2。<byte value="xd"/>
未向电调发送任何内容。</translation>
    </message>
    <message>
        <source>it holds %1 data lines, a complete image has %2</source>
        <translation>它有 %1 行数据，完整的映像有 %2 行</translation>
    </message>
    <message>
        <source>line %1 holds fewer than %2 hex digits</source>
        <translation>第 %1 行少于 %2 个十六进制数字</translation>
    </message>
    <message>
        <source>line %1 holds a character that is not a hex digit</source>
        <translation>第 %1 行含有非十六进制数字的字符</translation>
    </message>
    <message>
        <source>Cannot open the firmware image %1:<byte value="xd"/>
File not found<byte value="xd"/>
Looked in:</source>
        <translation>无法打开固件映像 %1：<byte value="xd"/>
未找到文件<byte value="xd"/>
查找位置：</translation>
    </message>
</context>
<context>
    <name>box_title</name>
    <message>
        <source>Comm error</source>
        <translation>通信错误</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Require</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>not find hardware</source>
        <translation>未找到硬件</translation>
    </message>
    <message>
        <source>Find hardware</source>
        <translation>找到硬件</translation>
    </message>
</context>
<context>
    <name>status</name>
    <message>
        <source>Wait user command</source>
        <translation>等待用户命令</translation>
    </message>
    <message>
        <source>Comm error</source>
        <translation>通信错误</translation>
    </message>
    <message>
        <source>Start switch port</source>
        <translation>开始切换端口</translation>
    </message>
    <message>
        <source>Start perform command--------</source>
        <translation>开始执行命令……</translation>
    </message>
    <message>
        <source>auto finding hardware....</source>
        <translation>正在自动查找硬件……</translation>
    </message>
    <message>
        <source>search result</source>
        <translation>查找结果</translation>
    </message>
    <message>
        <source>Reading ESC parameter </source>
        <translation>正在读取电调参数 </translation>
    </message>
    <message>
        <source>Reading ESC parameter OK</source>
        <translation>电调参数读取成功</translation>
    </message>
    <message>
        <source>Send parameter to ESC</source>
        <translation>正在发送参数到电调</translation>
    </message>
    <message>
        <source>Send parameter done</source>
        <translation>参数发送完成</translation>
    </message>
    <message>
        <source>Start update hardware....</source>
        <translation>开始更新硬件……</translation>
    </message>
    <message>
        <source>Update process:Writing ROM.......</source>
        <translation>更新中：正在写入 ROM……</translation>
    </message>
    <message>
        <source>Verrify update data...</source>
        <translation>正在校验更新数据……</translation>
    </message>
    <message>
        <source>Update hardware finished</source>
        <translation>硬件更新完成</translation>
    </message>
    <message>
        <source>Testing rotate speed..</source>
        <translation>正在测试转速……</translation>
    </message>
    <message>
        <source>ESC speed answers stopped</source>
        <translation>电调停止回报转速</translation>
    </message>
</context>
</TS>
