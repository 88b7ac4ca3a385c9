<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AppendFile</name>
    <message>
        <source>是符号链接</source>
        <translation>is a symbolic link</translation>
    </message>
    <message>
        <source>是管道(FIFO)</source>
        <translation>is a pipe (FIFO)</translation>
    </message>
    <message>
        <source>是设备</source>
        <translation>is a device</translation>
    </message>
    <message>
        <source>是目录</source>
        <translation>is a folder</translation>
    </message>
    <message>
        <source>是套接字</source>
        <translation>is a socket</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>is not a regular file</translation>
    </message>
    <message>
        <source>是另一个文件的硬链接</source>
        <translation>is a hard link to another file</translation>
    </message>
    <message>
        <source>错误 %1</source>
        <translation>error %1</translation>
    </message>
</context>
<context>
    <name>CardSheet</name>
    <message>
        <source>卡号</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>次数</source>
        <translation>Reads</translation>
    </message>
    <message>
        <source>首次读到</source>
        <translation>First read</translation>
    </message>
    <message>
        <source>最近读到</source>
        <translation>Last read</translation>
    </message>
    <message>
        <source>平均间隔</source>
        <translation>Mean interval</translation>
    </message>
    <message>
        <source>每分钟</source>
        <translation>Per minute</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>离开</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>在场</source>
        <translation>Present</translation>
    </message>
    <message>
        <source>%1 次读卡未列出</source>
        <translation>%1 reads not listed</translation>
    </message>
    <message>
        <source>(秒)</source>
        <translation> (s)</translation>
    </message>
</context>
<context>
    <name>LineChoices</name>
    <message>
        <source>无NONE</source>
        <translation>None</translation>
    </message>
    <message>
        <source> 无校验</source>
        <translation>, no parity</translation>
    </message>
    <message>
        <source>奇ODD</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source> 奇校验</source>
        <translation>, odd parity</translation>
    </message>
    <message>
        <source>偶EVEN</source>
        <translation>Even</translation>
    </message>
    <message>
        <source> 偶校验</source>
        <translation>, even parity</translation>
    </message>
    <message>
        <source> 数据位：8</source>
        <translation>, 8 data bits</translation>
    </message>
    <message>
        <source> 数据位：7</source>
        <translation>, 7 data bits</translation>
    </message>
    <message>
        <source> 数据位：6</source>
        <translation>, 6 data bits</translation>
    </message>
    <message>
        <source> 停止位：1</source>
        <translation>, 1 stop bit</translation>
    </message>
    <message>
        <source> 停止位：2</source>
        <translation>, 2 stop bits</translation>
    </message>
</context>
<context>
    <name>LineTrouble</name>
    <message>
        <source>帧错误</source>
        <translation>framing error</translation>
    </message>
    <message>
        <source>帧错误：波特率或格式可能不对</source>
        <translation>Framing error: the baud rate or format may be wrong</translation>
    </message>
    <message>
        <source>校验错误</source>
        <translation>parity error</translation>
    </message>
    <message>
        <source>校验错误：校验位设置可能不对</source>
        <translation>Parity error: the parity setting may be wrong</translation>
    </message>
    <message>
        <source>断线信号</source>
        <translation>break</translation>
    </message>
    <message>
        <source>收到断线信号：请检查读卡器的连接</source>
        <translation>Break received: check the reader&apos;s connection</translation>
    </message>
    <message>
        <source>数据溢出</source>
        <translation>overrun</translation>
    </message>
    <message>
        <source>数据溢出：串口来不及接收</source>
        <translation>Overrun: the port could not keep up</translation>
    </message>
    <message>
        <source>输入缓冲溢出</source>
        <translation>input buffer overflow</translation>
    </message>
    <message>
        <source>输入缓冲溢出：数据来得太快</source>
        <translation>Input buffer overflow: data is arriving too fast</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>[线路错误: %1]</source>
        <translation>[line error: %1]</translation>
    </message>
    <message>
        <source>线路错误</source>
        <translation>Line error</translation>
    </message>
    <message>
        <source>[载波检测变化]</source>
        <translation>[carrier detect changed]</translation>
    </message>
    <message>
        <source>载波信号变化：请检查读卡器的连接</source>
        <translation>Carrier signal changed: check the reader&apos;s connection</translation>
    </message>
</context>
<context>
    <name>MessageSlot</name>
    <message>
        <source>（之后又收到 %1 条回复）</source>
        <translation>(%1 more replies since)</translation>
    </message>
</context>
<context>
    <name>MirrorRules</name>
    <message>
        <source>离开重读</source>
        <translation>On leave</translation>
    </message>
    <message>
        <source>连续重读</source>
        <translation>Repeat</translation>
    </message>
    <message>
        <source>数据在1到240之间</source>
        <translation>Enter a value from 1 to 240</translation>
    </message>
    <message>
        <source>数据格式不对</source>
        <translation>Not a valid number</translation>
    </message>
    <message>
        <source>数据在0到60之间</source>
        <translation>Enter a value from 0 to 60</translation>
    </message>
    <message>
        <source>请填写数据0到60之间的数据</source>
        <translation>Please enter a value from 0 to 60</translation>
    </message>
    <message>
        <source>请填写数据1到60之间的数据</source>
        <translation>Please enter a value from 1 to 60</translation>
    </message>
</context>
<context>
    <name>OpenAdvice</name>
    <message>
        <source>设备 %1 不存在：请检查读卡器是否已插好，或在“COM设置”中选择其他串口。</source>
        <translation>Device %1 does not exist: check that the reader is plugged in, or choose another port in “Port settings”.</translation>
    </message>
    <message>
        <source>没有权限打开 %1：只有用户 %2 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。</source>
        <translation>No permission to open %1: only user %2 may open it. Run this program as that user, or ask an administrator to change its permissions.</translation>
    </message>
    <message>
        <source>没有权限打开 %1（属于 %2 组）：请执行 sudo usermod -aG %2 $USER，然后重新登录。</source>
        <translation>No permission to open %1 (group %2): run sudo usermod -aG %2 $USER, then log in again.</translation>
    </message>
    <message>
        <source>%1 正被其他程序占用：请关闭该程序后重试。</source>
        <translation>%1 is in use by another program: close it and try again.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1（进程 %2）</source>
        <translation>%1 (process %2)</translation>
    </message>
    <message>
        <source>%1 正被 %2 占用：请关闭该程序后重试。</source>
        <translation>%1 is in use by %2: close that program and try again.</translation>
    </message>
    <message>
        <source>打开 %1 失败：%2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 不是有效的网络地址：请写成 tcp://主机:端口 或 rfc2217://主机:端口。</source>
        <translation>%1 is not a network address: write tcp://HOST:PORT or rfc2217://HOST:PORT.</translation>
    </message>
    <message>
        <source>找不到 %1 的主机：请检查主机名或 IP 地址。</source>
        <translation>The host of %1 was not found: check the host name or IP address.</translation>
    </message>
    <message>
        <source>%1 拒绝连接：请检查端口号，以及串口服务器是否在该端口提供服务。</source>
        <translation>%1 refused the connection: check the port number, and that the device server serves that port.</translation>
    </message>
    <message>
        <source>连接 %1 超时：请检查串口服务器是否开机并连在网络上。</source>
        <translation>No answer from %1 in time: check that the device server is on and on the network.</translation>
    </message>
    <message>
        <source>无法到达 %1：请检查网络连接。</source>
        <translation>%1 cannot be reached: check the network connection.</translation>
    </message>
    <message>
        <source>无法连接 %1。</source>
        <translation>Cannot connect to %1.</translation>
    </message>
</context>
<context>
    <name>PortSettings</name>
    <message>
        <source>串口:%1 波特率:%2</source>
        <translation>Port %1, %2 baud</translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>参数无法写成参数文件：</source>
        <translation>These settings cannot be written to a settings file: </translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>无法读取 %1</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <source>第 %1 行：</source>
        <translation>Line %1: </translation>
    </message>
    <message>
        <source>参数文件 (*.rovi);;所有文件 (*)</source>
        <translation>Settings files (*.rovi);;All files (*)</translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>打开串口出错<byte value="xd"/>
此串口不存在或被占用</source>
        <translation>Cannot open the port<byte value="xd"/>
The port does not exist or is in use</translation>
    </message>
    <message>
        <source>初始化缓冲区出错</source>
        <translation>Cannot set up the port&apos;s buffers</translation>
    </message>
    <message>
        <source>此串口已经打开</source>
        <translation>The port is already open</translation>
    </message>
    <message>
        <source>无法创建事件</source>
        <translation>Cannot create an event</translation>
    </message>
    <message>
        <source>无法创建读线程</source>
        <translation>Cannot start the reading thread</translation>
    </message>
    <message>
        <source>无法创建写线程</source>
        <translation>Cannot start the writing thread</translation>
    </message>
</context>
<context>
    <name>TrafficFile</name>
    <message>
        <source>%1 写入失败(磁盘已满?)</source>
        <translation>%1: writing failed (disk full?)</translation>
    </message>
    <message>
        <source>[记录文件曾无法写入，丢失 %1 行]</source>
        <translation>[the record file could not be written: %1 lines lost]</translation>
    </message>
</context>
<context>
    <name>rovi::AboutDialog</name>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>版本号：V%1</source>
        <translation>Version V%1</translation>
    </message>
</context>
<context>
    <name>rovi::BatchSetupDialog</name>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>拒绝</source>
        <translation>Refused</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>无应答，波特率可能不同</source>
        <translation>No reply, baud rate may differ</translation>
    </message>
    <message>
        <source>校验不符</source>
        <translation>Verify failed</translation>
    </message>
    <message>
        <source>参数文件</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>批量设置</source>
        <translation>Batch setup</translation>
    </message>
    <message>
        <source>面板当前参数</source>
        <translation>Panel settings</translation>
    </message>
    <message>
        <source>浏览…</source>
        <translation>Browse…</translation>
    </message>
    <message>
        <source>直到停止</source>
        <translation>Until stopped</translation>
    </message>
    <message>
        <source>设置后查询校验</source>
        <translation>Read back and verify after setting</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>下一台</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>端口一直都在时：下一台读卡器已接好</source>
        <translation>For a port that never goes away: the next reader is connected</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>报告</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>起始 ID</source>
        <translation>First ID</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>Readers</translation>
    </message>
    <message>
        <source>记录文件</source>
        <translation>Record file</translation>
    </message>
    <message>
        <source>参数文件有误：</source>
        <translation>Settings file not usable: </translation>
    </message>
    <message>
        <source>无法写入记录文件 %1</source>
        <translation>Cannot write the record file %1</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>等待读卡器（%1）…</source>
        <translation>Waiting for a reader (%1)…</translation>
    </message>
    <message>
        <source>正在设置 ID %1…</source>
        <translation>Setting ID %1…</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>记录文件无法写入，已停止</source>
        <translation>The record file cannot be written: stopped</translation>
    </message>
    <message>
        <source>已停止；表中的结果都在。</source>
        <translation>Stopped; every result is in the table.</translation>
    </message>
    <message>
        <source>完成：%1 台</source>
        <translation>Finished: %1 readers</translation>
    </message>
    <message>
        <source>ID 已用到 %1，已停止</source>
        <translation>IDs used up to %1: stopped</translation>
    </message>
    <message>
        <source>ID %1 已设置。</source>
        <translation>ID %1 set. </translation>
    </message>
    <message>
        <source>失败，ID %1 留给下一台。</source>
        <translation>Failed; ID %1 stays for the next reader. </translation>
    </message>
    <message>
        <source>这台的波特率可能不同：停止后可用“通讯设置”→“搜索读卡器…”找到它。</source>
        <translation>This reader may run at another baud rate: after stopping, find it with “Connection” → “Find reader…”. </translation>
    </message>
    <message>
        <source>请拔下这台，接上下一台（端口一直都在时按“下一台”）</source>
        <translation>Unplug it and connect the next one (press “Next” if the port never goes away)</translation>
    </message>
    <message>
        <source>已停止，未校验</source>
        <translation>Stopped, not verified</translation>
    </message>
    <message>
        <source>已停止，未应答</source>
        <translation>Stopped, no answer yet</translation>
    </message>
    <message>
        <source>无法打开 %1：%2（仍在重试）</source>
        <translation>Cannot open %1: %2 (still trying)</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>Cannot open</translation>
    </message>
</context>
<context>
    <name>rovi::MainWindow</name>
    <message>
        <source>通讯设置</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>COM设置</source>
        <translation>Port settings…</translation>
    </message>
    <message>
        <source>打开COM口</source>
        <translation>Open port</translation>
    </message>
    <message>
        <source>关闭COM口</source>
        <translation>Close port</translation>
    </message>
    <message>
        <source>搜索读卡器…</source>
        <translation>Find reader…</translation>
    </message>
    <message>
        <source>断线自动重连</source>
        <translation>Reconnect automatically</translation>
    </message>
    <message>
        <source>记录</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>保存记录…</source>
        <translation>Save log…</translation>
    </message>
    <message>
        <source>记录到文件</source>
        <translation>Record to file</translation>
    </message>
    <message>
        <source>显示时间戳</source>
        <translation>Show timestamps</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>保存参数…</source>
        <translation>Save settings…</translation>
    </message>
    <message>
        <source>载入参数…</source>
        <translation>Load settings…</translation>
    </message>
    <message>
        <source>批量设置…</source>
        <translation>Batch setup…</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>串口状态</source>
        <translation>Port status</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>串口打开失败或者此串口已经被占用</source>
        <translation>The port could not be opened, or it is in use</translation>
    </message>
    <message>
        <source>串口:%1 已断开（反复断开，5 秒后再试）</source>
        <translation>Port %1 disconnected (dropped repeatedly: retrying in 5 s)</translation>
    </message>
    <message>
        <source>串口:%1 已断开</source>
        <translation>Port %1 disconnected</translation>
    </message>
    <message>
        <source>串口:%1 已关闭</source>
        <translation>Port %1 closed</translation>
    </message>
    <message>
        <source>保存记录</source>
        <translation>Save log</translation>
    </message>
    <message>
        <source>记录.txt</source>
        <translation>log.txt</translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation>Text files (*.txt);;All files (*)</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save settings</translation>
    </message>
    <message>
        <source>参数.rovi</source>
        <translation>settings.rovi</translation>
    </message>
    <message>
        <source>载入参数</source>
        <translation>Load settings</translation>
    </message>
    <message>
        <source>参数文件有误，面板未改动：</source>
        <translation>The settings file is not usable; the panel is unchanged:</translation>
    </message>
    <message>
        <source>&#x3000;</source>
        <comment>between the status and a hint</comment>
        <translation>  </translation>
    </message>
    <message>
        <source>读卡测试</source>
        <translation>Card test</translation>
    </message>
</context>
<context>
    <name>rovi::ReaderConsole</name>
    <message>
        <source>无法写入记录文件 %1</source>
        <translation>Cannot write the record file %1</translation>
    </message>
    <message>
        <source>发送失败</source>
        <translation>Sending failed</translation>
    </message>
    <message>
        <source>设置成功</source>
        <translation>Settings saved</translation>
    </message>
    <message>
        <source>设置失败</source>
        <translation>Setting failed</translation>
    </message>
</context>
<context>
    <name>rovi::ReaderSearchDialog</name>
    <message>
        <source>韦根26</source>
        <translation>Wiegand 26</translation>
    </message>
    <message>
        <source>韦根34</source>
        <translation>Wiegand 34</translation>
    </message>
    <message>
        <source>韦根36</source>
        <translation>Wiegand 36</translation>
    </message>
    <message>
        <source>韦根44</source>
        <translation>Wiegand 44</translation>
    </message>
    <message>
        <source>拨码控制</source>
        <translation>DIP switches</translation>
    </message>
    <message>
        <source>标准格式</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>16进制卡号</source>
        <translation>Hex card no.</translation>
    </message>
    <message>
        <source>10进制卡号</source>
        <translation>Decimal card no.</translation>
    </message>
    <message>
        <source>软件控制 %1 级</source>
        <translation>software level %1</translation>
    </message>
    <message>
        <source>外部控制</source>
        <translation>external power control</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>搜索读卡器</source>
        <translation>Find reader</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Ports</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rates</translation>
    </message>
    <message>
        <source>波特率 %1</source>
        <translation>Baud rate %1</translation>
    </message>
    <message>
        <source>开始搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>参数</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>搜索结果</source>
        <translation>Search results</translation>
    </message>
    <message>
        <source>使用此读卡器</source>
        <translation>Use this reader</translation>
    </message>
    <message>
        <source>%1  （%2）</source>
        <translation>%1  (%2)</translation>
    </message>
    <message>
        <source>没有找到读卡器</source>
        <translation>No reader found</translation>
    </message>
    <message>
        <source>找到 %1 台读卡器</source>
        <translation>Readers found: %1</translation>
    </message>
    <message>
        <source>  （本程序正在使用，跳过）</source>
        <translation>  (in use by this program: skipped)</translation>
    </message>
    <message>
        <source>  （被 %1 占用，跳过）</source>
        <translation>  (in use by %1: skipped)</translation>
    </message>
    <message>
        <source>请选择串口和波特率</source>
        <translation>Choose ports and baud rates</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>已停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>串口</source>
        <comment>column</comment>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <comment>column</comment>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>  （串口服务器）</source>
        <translation>  (device server)</translation>
    </message>
</context>
<context>
    <name>rovi::panel::CardTableModel</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>rovi::panel::CardTestPage</name>
    <message>
        <source>离开时间：</source>
        <translation>Leave after:</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>超过这么久没有读到的卡显示为“离开”</source>
        <translation>A card not read for longer than this is shown as “Left”</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清空表格，开始新的测试</source>
        <translation>Empty the table and start a new test</translation>
    </message>
    <message>
        <source>导出…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>卡片 %1 张&#x3000;读卡 %2 次&#x3000;当前每秒 %3 次</source>
        <translation>Cards: %1    Reads: %2    Now: %3 a second</translation>
    </message>
    <message>
        <source>导出读卡测试</source>
        <translation>Export the card test</translation>
    </message>
    <message>
        <source>读卡测试.csv</source>
        <translation>card-test.csv</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation>Cannot write %1</translation>
    </message>
</context>
<context>
    <name>rovi::panel::LogView</name>
    <message>
        <source>复制(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>全选(&amp;A)</source>
        <translation>Select &amp;All</translation>
    </message>
</context>
<context>
    <name>rovi::panel::ParamPanel</name>
    <message>
        <source>  基础设置  </source>
        <translation>General</translation>
    </message>
    <message>
        <source>   ID地址   </source>
        <translation>ID address</translation>
    </message>
    <message>
        <source>  韦根格式  </source>
        <translation>Wiegand</translation>
    </message>
    <message>
        <source>  串口格式  </source>
        <translation>Serial format</translation>
    </message>
    <message>
        <source>   波特率   </source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>读卡距离调节</source>
        <translation>Read range</translation>
    </message>
    <message>
        <source> 防重读时间 </source>
        <translation>Reread guard</translation>
    </message>
    <message>
        <source>  发送时间  </source>
        <translation>Send time</translation>
    </message>
    <message>
        <source>基础设置</source>
        <translation>General</translation>
    </message>
    <message>
        <source>ID地址</source>
        <translation>ID address</translation>
    </message>
    <message>
        <source>韦根格式</source>
        <translation>Wiegand format</translation>
    </message>
    <message>
        <source>串口格式</source>
        <translation>Serial format</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>防重读时间</source>
        <translation>Reread guard time</translation>
    </message>
    <message>
        <source>发送时间</source>
        <translation>Send time</translation>
    </message>
    <message>
        <source>出厂设置</source>
        <translation>Factory reset</translation>
    </message>
    <message>
        <source>全部设置</source>
        <translation>Set all</translation>
    </message>
    <message>
        <source>查看参数</source>
        <translation>Read settings</translation>
    </message>
    <message>
        <source>%1 数值</source>
        <translation>%1 value</translation>
    </message>
    <message>
        <source>拨码控制</source>
        <translation>DIP switch</translation>
    </message>
    <message>
        <source>韦根输出</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>韦根26</source>
        <translation>26-bit</translation>
    </message>
    <message>
        <source>韦根34</source>
        <translation>34-bit</translation>
    </message>
    <message>
        <source>韦根36</source>
        <translation>36-bit</translation>
    </message>
    <message>
        <source>韦根44</source>
        <translation>44-bit</translation>
    </message>
    <message>
        <source>韦根禁止</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>%1 格式</source>
        <translation>%1 type</translation>
    </message>
    <message>
        <source>标准格式</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>16进制卡号</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>10进制卡号</source>
        <translation>Decimal</translation>
    </message>
    <message>
        <source>串口禁止</source>
        <translation>Serial off</translation>
    </message>
    <message>
        <source>外部控制</source>
        <translation>External</translation>
    </message>
    <message>
        <source>软件控制</source>
        <translation>Software</translation>
    </message>
    <message>
        <source>%1 级别</source>
        <translation>%1 level</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>%1 单位</source>
        <translation>%1 unit</translation>
    </message>
    <message>
        <source>%1 时间</source>
        <translation>%1 time</translation>
    </message>
    <message>
        <source>0.1秒</source>
        <translation>0.1 s</translation>
    </message>
    <message>
        <source>%1 十六进制</source>
        <translation>%1 hex</translation>
    </message>
    <message>
        <source>设 置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>%1 设置</source>
        <translation>Set %1</translation>
    </message>
</context>
<context>
    <name>rovi::panel::TrafficMonitor</name>
    <message>
        <source>发送的十六进制数据</source>
        <translation>Hex data to send</translation>
    </message>
    <message>
        <source>发 送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>十六进制记录</source>
        <translation>Hex log</translation>
    </message>
    <message>
        <source>文本记录</source>
        <translation>Text log</translation>
    </message>
    <message>
        <source>接收计数</source>
        <translation>Received count</translation>
    </message>
    <message>
        <source>清 零</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清零</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>发 </source>
        <translation>TX </translation>
    </message>
    <message>
        <source>收 </source>
        <translation>RX </translation>
    </message>
</context>
<context>
    <name>rovi::settings::PortDialog</name>
    <message>
        <source>串口选择</source>
        <translation>Port settings</translation>
    </message>
    <message>
        <source>串口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>串口自动连接</source>
        <translation>Connect at start</translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation>Open port</translation>
    </message>
</context>
</TS>
