<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AppendFile</name>
    <message>
        <source>是符号链接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是管道(FIFO)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是设备</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是套接字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是另一个文件的硬链接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>错误 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LineChoices</name>
    <message>
        <source>无NONE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 无校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>奇ODD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 奇校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>偶EVEN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 偶校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 数据位：8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 数据位：7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 数据位：6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 停止位：1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 停止位：2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LineTrouble</name>
    <message>
        <source>帧错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帧错误：波特率或格式可能不对</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校验错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校验错误：校验位设置可能不对</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>断线信号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>收到断线信号：请检查读卡器的连接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据溢出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据溢出：串口来不及接收</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入缓冲溢出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入缓冲溢出：数据来得太快</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>、</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[线路错误: %1]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线路错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[载波检测变化]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>载波信号变化：请检查读卡器的连接</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MessageSlot</name>
    <message>
        <source>（之后又收到 %1 条回复）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MirrorRules</name>
    <message>
        <source>离开重读</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>连续重读</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据在1到240之间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据格式不对</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据在0到60之间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请填写数据0到60之间的数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请填写数据1到60之间的数据</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OpenAdvice</name>
    <message>
        <source>设备 %1 不存在：请检查读卡器是否已插好，或在“COM设置”中选择其他串口。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有权限打开 %1：只有用户 %2 可以打开它；请以该用户运行本程序，或请管理员修改它的权限。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有权限打开 %1（属于 %2 组）：请执行 sudo usermod -aG %2 $USER，然后重新登录。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 正被其他程序占用：请关闭该程序后重试。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>、</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1（进程 %2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 正被 %2 占用：请关闭该程序后重试。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开 %1 失败：%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortSettings</name>
    <message>
        <source>串口:%1 波特率:%2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProfileFile</name>
    <message>
        <source>参数无法写成参数文件：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法读取 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>第 %1 行：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数文件 (*.rovi);;所有文件 (*)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SerialLink</name>
    <message>
        <source>打开串口出错<byte value="xd"/>
此串口不存在或被占用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>初始化缓冲区出错</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>此串口已经打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建事件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建读线程</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建写线程</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrafficFile</name>
    <message>
        <source>%1 写入失败(磁盘已满?)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[记录文件曾无法写入，丢失 %1 行]</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::AboutDialog</name>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>版本号：V%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::BatchSetupDialog</name>
    <message>
        <source>成功</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拒绝</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无应答</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无应答，波特率可能不同</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校验不符</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>批量设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>面板当前参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>浏览…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直到停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置后查询校验</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下一台</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>端口一直都在时：下一台读卡器已接好</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始 ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数文件有误：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法写入记录文件 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>等待读卡器（%1）…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正在设置 ID %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>；</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录文件无法写入，已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已停止；表中的结果都在。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成：%1 台</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID 已用到 %1，已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID %1 已设置。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>失败，ID %1 留给下一台。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>这台的波特率可能不同：停止后可用“通讯设置”→“搜索读卡器…”找到它。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请拔下这台，接上下一台（端口一直都在时按“下一台”）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::MainWindow</name>
    <message>
        <source>通讯设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COM设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开COM口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭COM口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>搜索读卡器…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>断线自动重连</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存记录…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录到文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示时间戳</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存参数…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>载入参数…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>批量设置…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口状态</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口打开失败或者此串口已经被占用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口:%1 已断开（反复断开，5 秒后再试）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口:%1 已断开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口:%1 已关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>记录.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本文件 (*.txt);;所有文件 (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法写入 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数.rovi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>载入参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数文件有误，面板未改动：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::ReaderConsole</name>
    <message>
        <source>无法写入记录文件 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发送失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置成功</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设置失败</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::ReaderSearchDialog</name>
    <message>
        <source>韦根26</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根34</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根36</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根44</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拨码控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16进制卡号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10进制卡号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>软件控制 %1 级</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>外部控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>，</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>搜索读卡器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波特率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波特率 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开始搜索</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>搜索结果</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用此读卡器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1  （%2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有找到读卡器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>找到 %1 台读卡器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  （本程序正在使用，跳过）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  （被 %1 占用，跳过）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请选择串口和波特率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已停止</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::panel::LogView</name>
    <message>
        <source>复制(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全选(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::panel::ParamPanel</name>
    <message>
        <source>  基础设置  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   ID地址   </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  韦根格式  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  串口格式  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   波特率   </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读卡距离调节</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 防重读时间 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  发送时间  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>基础设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID地址</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波特率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>防重读时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发送时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出厂设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全部设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查看参数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 数值</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拨码控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根输出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根26</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根34</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根36</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根44</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>韦根禁止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16进制卡号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10进制卡号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口禁止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>外部控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>软件控制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 级别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 单位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.1秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 十六进制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>设 置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 设置</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::panel::TrafficMonitor</name>
    <message>
        <source>发送的十六进制数据</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发 送</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发送</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>十六进制记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本记录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>接收计数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清 零</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清零</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>发 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>收 </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>rovi::settings::PortDialog</name>
    <message>
        <source>串口选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>波特率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>校验位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>串口自动连接</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开串口</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
