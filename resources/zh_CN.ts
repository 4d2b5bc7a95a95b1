<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AccelPage</name>
    <message>
        <source>Please place the copter in horizontal with the top up</source>
        <translation>请将飞行器水平放置，顶面朝上</translation>
    </message>
    <message>
        <source>Please place the copter in vertical with the left side up</source>
        <translation>请将飞行器竖直放置，左侧朝上</translation>
    </message>
    <message>
        <source>Please place the copter in vertical with the right side up</source>
        <translation>请将飞行器竖直放置，右侧朝上</translation>
    </message>
    <message>
        <source>Please place the copter in vertical with the rear side up</source>
        <translation>请将飞行器竖直放置，机尾朝上</translation>
    </message>
    <message>
        <source>Please place the copter in vertical with the front side up</source>
        <translation>请将飞行器竖直放置，机头朝上</translation>
    </message>
    <message>
        <source>Please place the copter in horizontal with the bottom side up</source>
        <translation>请将飞行器水平放置，底面朝上</translation>
    </message>
    <message>
        <source>1.In order to fly better for your multi-rotors, please make sure you doing the six faces calibration right. You better to calibrate the six faces of a standard hexahedron.  </source>
        <translation>1.为了让多旋翼飞得更好，请务必正确完成六面校准。最好把飞行器当作一个标准六面体，依次校准它的六个面。</translation>
    </message>
    <message>
        <source>Time left: 30 Second</source>
        <translation>剩余时间：30秒</translation>
    </message>
    <message>
        <source>Start Calibrate</source>
        <translation>开始校准</translation>
    </message>
    <message>
        <source>Time left: </source>
        <translation>剩余时间：</translation>
    </message>
    <message>
        <source>second</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>Time out, Please try again</source>
        <translation>已超时，请重试</translation>
    </message>
    <message>
        <source>Start calibrate</source>
        <translation>开始校准</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一步</translation>
    </message>
    <message>
        <source>Calibrate Succeed!</source>
        <translation>校准成功！</translation>
    </message>
    <message>
        <source>Calibrate Failed!</source>
        <translation>校准失败！</translation>
    </message>
</context>
<context>
    <name>AdvancedPage</name>
    <message>
        <source>Selected</source>
        <translation>已选择</translation>
    </message>
    <message>
        <source>Fly feeling</source>
        <translation>飞行手感</translation>
    </message>
    <message>
        <source>Return to home altitude</source>
        <translation>返航高度</translation>
    </message>
</context>
<context>
    <name>AllParametersWindow</name>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Compare with File...</source>
        <translation>与文件比较...</translation>
    </message>
    <message>
        <source>All Parameters</source>
        <translation>全部参数</translation>
    </message>
    <message>
        <source>Filter by name</source>
        <translation>按名称筛选</translation>
    </message>
    <message>
        <source>Read %1 parameters.</source>
        <translation>已读取 %1 个参数。</translation>
    </message>
    <message>
        <source>%1 of %2 parameters did not arrive from the FC.</source>
        <translation>飞控的 %2 个参数中有 %1 个没有收到。</translation>
    </message>
    <message>
        <source>No value was changed.</source>
        <translation>没有更改任何值。</translation>
    </message>
    <message>
        <source>The FC is armed. Disarm it before writing parameters.</source>
        <translation>飞控已解锁。请先上锁再写入参数。</translation>
    </message>
    <message>
        <source>The FC was armed; writing stopped.</source>
        <translation>飞控已解锁，写入已停止。</translation>
    </message>
    <message>
        <source>No heartbeat from the FC; writing stopped.</source>
        <translation>没有收到飞控的心跳，写入已停止。</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>与文件比较</translation>
    </message>
    <message>
        <source>Refused %1: %2.</source>
        <translation>拒绝使用 %1：%2。</translation>
    </message>
    <message>
        <source>Taken over from the file: %1. Write sends them to the FC.</source>
        <translation>已从文件采用：%1 个。点击“写入”将其发送到飞控。</translation>
    </message>
    <message>
        <source>The values are written all the same; History cannot undo them.</source>
        <translation>这些值仍会写入；历史记录无法撤销它们。</translation>
    </message>
</context>
<context>
    <name>ChangeJournal</name>
    <message>
        <source>Cannot write the change journal %1: %2.</source>
        <translation>无法写入更改日志 %1：%2。</translation>
    </message>
    <message>
        <source>its folder cannot be created</source>
        <translation>无法创建其所在文件夹</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>refused, the FC holds %1</source>
        <translation>被拒绝，飞控保存的是 %1</translation>
    </message>
    <message>
        <source>not confirmed</source>
        <translation>未确认</translation>
    </message>
    <message>
        <source>Lines of %1 skipped, as they cannot be read: %2.</source>
        <translation>%1 中以下行无法读取，已跳过：%2。</translation>
    </message>
</context>
<context>
    <name>ChangeListDialog</name>
    <message>
        <source>Restore Settings</source>
        <translation>恢复设置</translation>
    </message>
    <message>
        <source>Write these values to the FC?</source>
        <translation>要将这些值写入飞控吗？</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>On the FC</source>
        <translation>飞控中的值</translation>
    </message>
    <message>
        <source>In the file</source>
        <translation>文件中的值</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ChangeUndo</name>
    <message>
        <source>The FC is armed. Disarm it before undoing changes.</source>
        <translation>飞控已解锁。请先上锁再撤销更改。</translation>
    </message>
    <message>
        <source>Nothing of change set %1 can be undone.</source>
        <translation>更改集 %1 中没有可以撤销的内容。</translation>
    </message>
    <message>
        <source>The FC did not report %1.</source>
        <translation>飞控没有报告 %1。</translation>
    </message>
    <message>
        <source>%1: set to %2, the FC now holds %3, before it was %4</source>
        <translation>%1：曾设为 %2，飞控现在保存的是 %3，更改前为 %4</translation>
    </message>
    <message>
        <source>Nothing was written: the FC holds the values before already.</source>
        <translation>没有写入任何值：飞控保存的已是更改前的值。</translation>
    </message>
    <message>
        <source>Undo of %1</source>
        <translation>撤销 %1</translation>
    </message>
    <message>
        <source>The FC was armed; the undo stopped.</source>
        <translation>飞控已解锁，撤销已停止。</translation>
    </message>
    <message>
        <source>No heartbeat from the FC; the undo stopped.</source>
        <translation>没有收到飞控的心跳，撤销已停止。</translation>
    </message>
    <message>
        <source>The link to the FC was closed.</source>
        <translation>与飞控的连接已关闭。</translation>
    </message>
    <message>
        <source>Changed since, left alone: %1.</source>
        <translation>之后已被更改，保持不变：%1。</translation>
    </message>
    <message>
        <source>The value before is unknown, not undone: %1.</source>
        <translation>更改前的值未知，未撤销：%1。</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>没有写入任何值。</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Show this help and exit.</source>
        <translation>显示此帮助并退出。</translation>
    </message>
    <message>
        <source>Show the version and exit.</source>
        <translation>显示版本并退出。</translation>
    </message>
    <message>
        <source>unknown option &apos;%1&apos;; see --help</source>
        <translation>未知选项“%1”；请参阅 --help</translation>
    </message>
    <message>
        <source>unexpected argument &apos;%1&apos;; see --help</source>
        <translation>多余的参数“%1”；请参阅 --help</translation>
    </message>
    <message>
        <source>Configuration assistant for ZEFA R7 multirotor flight controllers.</source>
        <translation>ZEFA R7 系列多旋翼飞控配置助手。</translation>
    </message>
    <message>
        <source>Open PORT instead of searching for the flight controller&apos;s port; wins over ZEFA_GCS_PORT.</source>
        <translation>打开 PORT，而不是搜索飞控的端口；优先于 ZEFA_GCS_PORT。</translation>
    </message>
    <message>
        <source>Save the FC&apos;s settings to FILE, without a window.</source>
        <translation>将飞控的设置保存到 FILE，不打开窗口。</translation>
    </message>
    <message>
        <source>Write the settings in FILE to the FC, without a window.</source>
        <translation>将 FILE 中的设置写入飞控，不打开窗口。</translation>
    </message>
    <message>
        <source>--backup and --restore cannot be used together</source>
        <translation>--backup 和 --restore 不能同时使用</translation>
    </message>
    <message>
        <source>%1 needs a FILE</source>
        <translation>%1 需要指定 FILE</translation>
    </message>
    <message>
        <source>--%1 is given more than once</source>
        <translation>--%1 给出了不止一次</translation>
    </message>
    <message>
        <source>--set %1: %2</source>
        <translation>--set %1：%2</translation>
    </message>
    <message>
        <source>Print &quot;NAME VALUE&quot; for each parameter NAME given after the options, without a window.</source>
        <translation>为选项之后给出的每个参数 NAME 打印“NAME VALUE”，不打开窗口。</translation>
    </message>
    <message>
        <source>Write each NAME=VALUE given after the options to the FC, each confirmed by the FC, without a window.</source>
        <translation>将选项之后给出的每个 NAME=VALUE 写入飞控，每个都由飞控确认，不打开窗口。</translation>
    </message>
    <message>
        <source>--get needs a NAME</source>
        <translation>--get 需要指定 NAME</translation>
    </message>
    <message>
        <source>--set needs a NAME=VALUE</source>
        <translation>--set 需要指定 NAME=VALUE</translation>
    </message>
    <message>
        <source>--set gives %1 more than once</source>
        <translation>--set 给出了不止一次 %1</translation>
    </message>
    <message>
        <source>Record every frame sent and received to FILE (a telemetry log).</source>
        <translation>将收发的每一帧录制到 FILE（遥测日志）。</translation>
    </message>
    <message>
        <source>--record needs a FILE and a command to record, such as --backup</source>
        <translation>--record 需要指定 FILE 和一个要录制的命令，例如 --backup</translation>
    </message>
    <message>
        <source>--record and %1 name the same file</source>
        <translation>--record 与 %1 指向同一个文件</translation>
    </message>
    <message>
        <source>--history takes one N, a whole number above 0, not &apos;%1&apos;</source>
        <translation>--history 只接受一个大于 0 的整数 N，而不是“%1”</translation>
    </message>
    <message>
        <source>--undo needs the ID of a change set (see --history), not &apos;%1&apos;</source>
        <translation>--undo 需要一个更改集的 ID（见 --history），而不是“%1”</translation>
    </message>
    <message>
        <source>With --restore: write a file saved from another vehicle (another system id). With --undo: write back values changed since too.</source>
        <translation>与 --restore 一起使用：写入从另一架飞行器（另一个系统 ID）保存的文件。与 --undo 一起使用：之后已被更改的值也写回。</translation>
    </message>
    <message>
        <source>Print the last N change sets written to an FC (N given after the options, 10 without), newest first, without a port.</source>
        <translation>打印写入飞控的最近 N 个更改集（N 在选项之后给出，默认 10），最新的在前，不需要端口。</translation>
    </message>
    <message>
        <source>Write the values before change set ID back to the FC where it still holds the values the set wrote, without a window.</source>
        <translation>对飞控仍保存着更改集 ID 所写值的参数，将更改前的值写回飞控，不打开窗口。</translation>
    </message>
    <message>
        <source>With --get: NAME; with --set: NAME=VALUE; with --history: N.</source>
        <translation>用于 --get：NAME；用于 --set：NAME=VALUE；用于 --history：N。</translation>
    </message>
    <message>
        <source>use one of --backup, --restore, --get, --set, --history and --undo at a time</source>
        <translation>--backup、--restore、--get、--set、--history 和 --undo 一次只能使用一个</translation>
    </message>
    <message>
        <source>--force goes with --restore or --undo only</source>
        <translation>--force 只能与 --restore 或 --undo 一起使用</translation>
    </message>
</context>
<context>
    <name>CommandLineTransfer</name>
    <message>
        <source>No FC found; name its port with --port or ZEFA_GCS_PORT.</source>
        <translation>未找到飞控；请用 --port 或 ZEFA_GCS_PORT 指定其端口。</translation>
    </message>
    <message>
        <source>Cannot open %1: %2.</source>
        <translation>无法打开 %1：%2。</translation>
    </message>
    <message>
        <source>Changes:</source>
        <translation>更改：</translation>
    </message>
    <message>
        <source>Give --force to write it anyway.</source>
        <translation>如仍要写入，请加 --force。</translation>
    </message>
    <message>
        <source>Cannot record to %1: %2</source>
        <translation>无法录制到 %1：%2</translation>
    </message>
    <message>
        <source>Recording stopped: %1</source>
        <translation>录制已停止：%1</translation>
    </message>
    <message>
        <source>Recorded %1 frames to %2; %3 rejected frames</source>
        <translation>已录制 %1 帧到 %2；%3 帧被拒收</translation>
    </message>
    <message>
        <source>Written anyway, as --force says.</source>
        <translation>已按 --force 的要求照样写入。</translation>
    </message>
    <message>
        <source>Cannot print the values: %1.</source>
        <translation>无法输出数值：%1。</translation>
    </message>
    <message>
        <source>Reading the FC&apos;s values of change set %1...</source>
        <translation>正在读取飞控中更改集 %1 的值...</translation>
    </message>
    <message>
        <source>Changed since, written anyway, as --force says:</source>
        <translation>之后已被更改，已按 --force 的要求照样写入：</translation>
    </message>
    <message>
        <source>Changed since, left alone (--force writes them too):</source>
        <translation>之后已被更改，保持不变（加 --force 也会写入）：</translation>
    </message>
</context>
<context>
    <name>CompareDialog</name>
    <message>
        <source>Compare with File</source>
        <translation>与文件比较</translation>
    </message>
    <message>
        <source>Where %1 differs from the FC; take over the checked values?</source>
        <translation>%1 与飞控不同之处如下；要采用勾选的值吗？</translation>
    </message>
    <message>
        <source>Take Over</source>
        <translation>采用</translation>
    </message>
</context>
<context>
    <name>FcTestPage</name>
    <message>
        <source>need Calibrate</source>
        <translation>需要校准</translation>
    </message>
    <message>
        <source>Alarm:Please put FC level,wait a minutes and try again!</source>
        <translation>警告：请将飞控水平放置，稍等片刻后重试！</translation>
    </message>
    <message>
        <source>not healthy!</source>
        <translation>工作异常！</translation>
    </message>
    <message>
        <source> need calibrate</source>
        <translation> 需要校准</translation>
    </message>
    <message>
        <source> Interference</source>
        <translation> 受到干扰</translation>
    </message>
    <message>
        <source>need calibrate</source>
        <translation>需要校准</translation>
    </message>
    <message>
        <source> need calibrate!</source>
        <translation> 需要校准！</translation>
    </message>
    <message>
        <source> not healthy, please put it level and still</source>
        <translation> 工作异常，请水平放置并保持静止</translation>
    </message>
    <message>
        <source>signal not good!</source>
        <translation>信号不佳！</translation>
    </message>
    <message>
        <source>No Fix</source>
        <translation>未定位</translation>
    </message>
    <message>
        <source>need Calibrated</source>
        <translation>需要校准</translation>
    </message>
    <message>
        <source>1.Make sue you have connect the GPS module correctly, and have calibrated the radio controller, accelemeter and compass.</source>
        <translation>1.请确认已正确连接 GPS 模块，并已完成遥控器、加速度计和罗盘的校准。</translation>
    </message>
    <message>
        <source>Error!!!!! Please check the hardware and calibrate!</source>
        <translation>错误！请检查硬件并进行校准！</translation>
    </message>
    <message>
        <source>FC System Hardware OK,Pass! If you can not use it,Please check your radio controller and esc.</source>
        <translation>飞控硬件正常，检测通过！如仍无法使用，请检查遥控器和电调。</translation>
    </message>
    <message>
        <source>OK!</source>
        <translation>正常！</translation>
    </message>
    <message>
        <source>Please install and put FC to GPS mode to check GPS module</source>
        <translation>请安装 GPS 模块并将飞控切换到 GPS 模式后再检测</translation>
    </message>
</context>
<context>
    <name>FramePage</name>
    <message>
        <source>1. ZEFA R7 series of flight controllers support Quad +，Quad X，Hex +，Hex V, Hex Y, Hex IY,Oct X, Oct I, Oct V. Please configure the flight controller according to the multi-rotors type of mixed, and adjust the rotating direction of the rotors according the arrow in the diagram here.

2.The assistant software need to install the driver before you run the assistant software, and you only need to install the drive once.  Click &apos;connect&apos;,the software will connect the flight controller automatically, the model of the flight controller will be displayed. Because of various operating systems, sometimes malware will occupy the communication port and fail the connection of the flight controller. When this happens, please unplug the flight controller and reconnect it, and reboot the assistant software or the computer.

3.If you need support, please contact us at
 support@zefa-robotics.com</source>
        <translation>1. ZEFA R7 系列飞控支持四旋翼+型、四旋翼X型、六旋翼+型、六旋翼V型、六旋翼Y型、六旋翼IY型、八旋翼X型、八旋翼I型、八旋翼V型。请按照多旋翼的混控类型配置飞控，并按图中箭头调整各电机的旋转方向。

2.运行调参软件前需要先安装驱动程序，驱动只需安装一次。点击“连接”后，软件会自动连接飞控并显示飞控型号。由于操作系统各不相同，有时恶意软件等程序会占用通信端口，导致飞控连接失败。遇到这种情况，请拔下飞控重新连接，并重启调参软件或电脑。

3.如需技术支持，请通过以下邮箱联系我们：
 support@zefa-robotics.com</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>机架</translation>
    </message>
</context>
<context>
    <name>GainPage</name>
    <message>
        <source>1.Stable Gain  The range is between 1-10, and the default is 5.  The value is related to the size of the copter frame and the weight. The bigger the frame, the bigger the value. If you use the default parameter and find the multi-copter shaking and not stable in operation, please increase the value.


</source>
        <translation>1.稳定感度：取值范围为 1-10，默认值为 5。该值与机架尺寸和重量有关，机架越大，数值越大。如果使用默认参数时发现飞行器抖动、飞行不稳，请增大该值。


</translation>
    </message>
    <message>
        <source>2.Beside the size of the frame and weight, the parameter also related to the power, vibration and the flight environment closely. Please do the tune up and testing in the open area, and ensure the security protection.</source>
        <translation>2.除机架尺寸和重量外，该参数还与动力、振动和飞行环境密切相关。请在空旷场地进行调试和试飞，并做好安全防护。</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>感度</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <source>Cannot read the change journal %1: %2.</source>
        <translation>无法读取更改日志 %1：%2。</translation>
    </message>
    <message>
        <source>No change set %1 in the change journal %2.</source>
        <translation>更改日志 %2 中没有更改集 %1。</translation>
    </message>
    <message>
        <source>The change journal %1 holds no change set.</source>
        <translation>更改日志 %1 中没有任何更改集。</translation>
    </message>
</context>
<context>
    <name>HistoryDialog</name>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>History</source>
        <translation>历史记录</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>编号</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>来源</translation>
    </message>
    <message>
        <source>Values</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>更改前</translation>
    </message>
    <message>
        <source>After</source>
        <translation>更改后</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>%1 (%2 not confirmed)</source>
        <translation>%1（%2 个未确认）</translation>
    </message>
    <message>
        <source>Cannot read the change journal %1: %2.</source>
        <translation>无法读取更改日志 %1：%2。</translation>
    </message>
    <message>
        <source>No change has been written to an FC yet.</source>
        <translation>尚未向飞控写入任何更改。</translation>
    </message>
    <message>
        <source>confirmed</source>
        <translation>已确认</translation>
    </message>
    <message>
        <source>Reading the FC&apos;s values of change set %1...</source>
        <translation>正在读取飞控中更改集 %1 的值...</translation>
    </message>
    <message>
        <source>These values were changed since the change set:</source>
        <translation>以下数值在该更改集之后已被更改：</translation>
    </message>
    <message>
        <source>Write the values before over them too? No leaves them as they are.</source>
        <translation>也要用更改前的值覆盖它们吗？选“否”则保持不变。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>ZEFA R7 series of flight controller assistant software</source>
        <translation>ZEFA R7 系列飞控调参助手</translation>
    </message>
    <message>
        <source>About ZEFA GCS</source>
        <translation>关于 ZEFA GCS</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>机架</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Select Frame Type</source>
        <translation>选择机架类型</translation>
    </message>
    <message>
        <source>Radio Controller</source>
        <translation>遥控器</translation>
    </message>
    <message>
        <source>Receiver Type</source>
        <translation>接收机类型</translation>
    </message>
    <message>
        <source>PWM</source>
        <translation>PWM</translation>
    </message>
    <message>
        <source>PPM</source>
        <translation>PPM</translation>
    </message>
    <message>
        <source>SBUS</source>
        <translation>SBUS</translation>
    </message>
    <message>
        <source>Fly Mode</source>
        <translation>飞行模式</translation>
    </message>
    <message>
        <source>Stab</source>
        <translation>自稳</translation>
    </message>
    <message>
        <source>FS</source>
        <translation>失控</translation>
    </message>
    <message>
        <source>IOC</source>
        <translation>IOC</translation>
    </message>
    <message>
        <source>GPS</source>
        <translation>GPS</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Return To Home</source>
        <translation>返航</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返航</translation>
    </message>
    <message>
        <source>Fly Feeling</source>
        <translation>飞行手感</translation>
    </message>
    <message>
        <source>Soft Feeling</source>
        <translation>柔和手感</translation>
    </message>
    <message>
        <source>Sport Feeling</source>
        <translation>运动手感</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>Joystick</source>
        <translation>摇杆</translation>
    </message>
    <message>
        <source>AIL</source>
        <translation>副翼</translation>
    </message>
    <message>
        <source>ELE</source>
        <translation>升降</translation>
    </message>
    <message>
        <source>THR</source>
        <translation>油门</translation>
    </message>
    <message>
        <source>YAW</source>
        <translation>方向</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Low Voltage Fail Safe</source>
        <translation>低电压保护</translation>
    </message>
    <message>
        <source>Auto Landing</source>
        <translation>自动降落</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>仅报警</translation>
    </message>
    <message>
        <source>Alarm Voltage</source>
        <translation>报警电压</translation>
    </message>
    <message>
        <source>First  Alarm</source>
        <translation>一级报警</translation>
    </message>
    <message>
        <source>Second  Alarm</source>
        <translation>二级报警</translation>
    </message>
    <message>
        <source>Voltage Calibration</source>
        <translation>电压校准</translation>
    </message>
    <message>
        <source>Display Voltage</source>
        <translation>显示电压</translation>
    </message>
    <message>
        <source>Measure Voltage</source>
        <translation>实测电压</translation>
    </message>
    <message>
        <source>Accelerometer</source>
        <translation>加速度计</translation>
    </message>
    <message>
        <source>FC Test</source>
        <translation>飞控检测</translation>
    </message>
    <message>
        <source>Roll</source>
        <translation>横滚</translation>
    </message>
    <message>
        <source>Yaw</source>
        <translation>偏航</translation>
    </message>
    <message>
        <source>Pitch</source>
        <translation>俯仰</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>检测</translation>
    </message>
    <message>
        <source>FC Test Result</source>
        <translation>飞控检测结果</translation>
    </message>
    <message>
        <source>Radio Controller:</source>
        <translation>遥控器：</translation>
    </message>
    <message>
        <source>Accelerometer:</source>
        <translation>加速度计：</translation>
    </message>
    <message>
        <source>Baro:</source>
        <translation>气压计：</translation>
    </message>
    <message>
        <source>Compass:</source>
        <translation>罗盘：</translation>
    </message>
    <message>
        <source>GPS:</source>
        <translation>GPS：</translation>
    </message>
    <message>
        <source>Gain</source>
        <translation>感度</translation>
    </message>
    <message>
        <source>Stablize Gain Setting</source>
        <translation>稳定感度设置</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>高级</translation>
    </message>
    <message>
        <source>By RC CH7</source>
        <translation>通道7控制</translation>
    </message>
    <message>
        <source>ALT(M)</source>
        <translation>高度(米)</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>关于(&amp;A)</translation>
    </message>
    <message>
        <source>About program</source>
        <translation>关于本程序</translation>
    </message>
    <message>
        <source>Alt+A</source>
        <translation>Alt+A</translation>
    </message>
    <message>
        <source>C&amp;onnect</source>
        <translation>连接(&amp;O)</translation>
    </message>
    <message>
        <source>Connect to zefa FC</source>
        <translation>连接 ZEFA 飞控</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>&amp;Disconnect</source>
        <translation>断开(&amp;D)</translation>
    </message>
    <message>
        <source>Disconnect from zefa FC</source>
        <translation>断开与 ZEFA 飞控的连接</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>Please visit </source>
        <translation>请访问 </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Please re plug the FC,and try again</source>
        <translation>请重新插拔飞控，然后再试一次</translation>
    </message>
    <message>
        <source>Open error</source>
        <translation>打开串口失败</translation>
    </message>
    <message>
        <source>Connected to flight controller</source>
        <translation>已连接飞控</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>已断开连接</translation>
    </message>
    <message>
        <source>Critical Error</source>
        <translation>严重错误</translation>
    </message>
    <message>
        <source>Please re plug the FC and try again</source>
        <translation>请重新插拔飞控后再试</translation>
    </message>
    <message>
        <source>Back Up Settings...</source>
        <translation>备份设置...</translation>
    </message>
    <message>
        <source>Restore Settings...</source>
        <translation>恢复设置...</translation>
    </message>
    <message>
        <source>Back Up Settings</source>
        <translation>备份设置</translation>
    </message>
    <message>
        <source>Restore Settings</source>
        <translation>恢复设置</translation>
    </message>
    <message>
        <source>%1 not saved: no flight controller connected</source>
        <translation>%1 未保存：未连接飞控</translation>
    </message>
    <message>
        <source>%1: sent %2, no answer from the FC</source>
        <translation>%1：已发送 %2，飞控无应答</translation>
    </message>
    <message>
        <source>%1: sent %2, the FC reports %3</source>
        <translation>%1：已发送 %2，飞控报告 %3</translation>
    </message>
    <message>
        <source>%1 saved: confirmed by the FC</source>
        <translation>%1 已保存：飞控已确认</translation>
    </message>
    <message>
        <source>%1 not saved: the FC did not confirm every value</source>
        <translation>%1 未保存：飞控未确认全部数值</translation>
    </message>
    <message>
        <source>The FC did not confirm these values of %1:</source>
        <translation>飞控未确认%1的以下数值：</translation>
    </message>
    <message>
        <source>%1 saved: %2 values confirmed by the FC</source>
        <translation>%1 已保存：飞控已确认 %2 个数值</translation>
    </message>
    <message>
        <source>Write its values to this FC anyway?</source>
        <translation>仍要将其中的值写入此飞控吗？</translation>
    </message>
    <message>
        <source>All Parameters...</source>
        <translation>全部参数...</translation>
    </message>
    <message>
        <source>Record Session...</source>
        <translation>录制会话...</translation>
    </message>
    <message>
        <source>Record Session</source>
        <translation>录制会话</translation>
    </message>
    <message>
        <source>Telemetry logs (*.tlog);;All files (*)</source>
        <translation>遥测日志 (*.tlog);;所有文件 (*)</translation>
    </message>
    <message>
        <source>Recording the session to %1</source>
        <translation>正在将会话录制到 %1</translation>
    </message>
    <message>
        <source>Cannot record to %1: %2.</source>
        <translation>无法录制到 %1：%2。</translation>
    </message>
    <message>
        <source>Recorded %1 frames to %2; %3 rejected frames.</source>
        <translation>已录制 %1 帧到 %2；%3 帧被拒收。</translation>
    </message>
    <message>
        <source>Recording stopped: %1.</source>
        <translation>录制已停止：%1。</translation>
    </message>
    <message>
        <source>Parameter files, five columns (*.params);;Parameter files, NAME,VALUE (*.param *.parm)</source>
        <translation>参数文件，五列 (*.params);;参数文件，NAME,VALUE (*.param *.parm)</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自动</translation>
    </message>
    <message>
        <source>Other Port...</source>
        <translation>其他端口...</translation>
    </message>
    <message>
        <source>Connect Automatically</source>
        <translation>自动连接</translation>
    </message>
    <message>
        <source>Could not open %1: %2.</source>
        <translation>无法打开 %1：%2。</translation>
    </message>
    <message>
        <source>This computer lists no serial port. A port it does not list can be named under Action &gt; Port &gt; Other Port...</source>
        <translation>本机没有列出任何串口。未列出的端口可在 操作 &gt; 端口 &gt; 其他端口... 中指定。</translation>
    </message>
    <message>
        <source>None of these ports is known as the FC&apos;s:
%1
Choose its port under Action &gt; Port.</source>
        <translation>以下端口均不是已知的飞控端口：
%1
请在 操作 &gt; 端口 中选择飞控的端口。</translation>
    </message>
    <message>
        <source>Other Port</source>
        <translation>其他端口</translation>
    </message>
    <message>
        <source>Port name, for example /dev/ttyACM1, /dev/rfcomm0 or COM7:</source>
        <translation>端口名称，例如 /dev/ttyACM1、/dev/rfcomm0 或 COM7：</translation>
    </message>
    <message>
        <source>History...</source>
        <translation>历史记录...</translation>
    </message>
    <message>
        <source>%1 is written to the FC, but History cannot undo it: no record of it can be kept.</source>
        <translation>%1 已写入飞控，但无法保存其记录，历史记录无法撤销它。</translation>
    </message>
</context>
<context>
    <name>ParamEditModel</name>
    <message>
        <source>not confirmed: the FC reports %1</source>
        <translation>未确认：飞控报告 %1</translation>
    </message>
    <message>
        <source>not confirmed: no answer</source>
        <translation>未确认：无应答</translation>
    </message>
    <message>
        <source>changed, not written</source>
        <translation>已更改，未写入</translation>
    </message>
    <message>
        <source>written, confirmed</source>
        <translation>已写入并确认</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
</context>
<context>
    <name>ParamFile</name>
    <message>
        <source>not a text file (NUL byte)</source>
        <translation>不是文本文件（含有 NUL 字节）</translation>
    </message>
    <message>
        <source>not UTF-8 text</source>
        <translation>不是 UTF-8 文本</translation>
    </message>
    <message>
        <source>name is empty</source>
        <translation>参数名为空</translation>
    </message>
    <message>
        <source>name is longer than 16 characters</source>
        <translation>参数名超过 16 个字符</translation>
    </message>
    <message>
        <source>name is not printable ASCII</source>
        <translation>参数名含有可打印 ASCII 以外的字符</translation>
    </message>
    <message>
        <source>value is not a finite number</source>
        <translation>数值不是有限的数字</translation>
    </message>
    <message>
        <source>value is beyond the range of a 32-bit float</source>
        <translation>数值超出 32 位浮点数的范围</translation>
    </message>
    <message>
        <source>system or component id is not a number from 0 to 255</source>
        <translation>系统或组件编号不是 0 到 255 之间的数字</translation>
    </message>
    <message>
        <source>unknown parameter type %1</source>
        <translation>未知的参数类型 %1</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
    <message>
        <source>the file is larger than 1 MiB</source>
        <translation>文件大于 1 MiB</translation>
    </message>
    <message>
        <source>the file holds no parameters</source>
        <translation>文件中没有参数</translation>
    </message>
    <message>
        <source>value %1 has a decimal comma; write a point</source>
        <translation>数值 %1 使用了小数逗号；请改用小数点</translation>
    </message>
    <message>
        <source>not a regular file (a device, pipe or folder)</source>
        <translation>不是普通文件（而是设备、管道或文件夹）</translation>
    </message>
    <message>
        <source>expected 5 fields (system id, component id, name, value, type) or 2 (name, value), found %1</source>
        <translation>应为 5 个字段（系统 ID、组件 ID、名称、值、类型）或 2 个（名称、值），实际为 %1 个</translation>
    </message>
    <message>
        <source>expected NAME=VALUE</source>
        <translation>应为 NAME=VALUE</translation>
    </message>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>无法读取 %1：%2。</translation>
    </message>
    <message>
        <source>Refused %1: %2.</source>
        <translation>拒绝使用 %1：%2。</translation>
    </message>
    <message>
        <source>five tab-separated columns</source>
        <translation>五个以制表符分隔的列</translation>
    </message>
    <message>
        <source>NAME,VALUE lines</source>
        <translation>NAME,VALUE 行</translation>
    </message>
    <message>
        <source>The FC reports %1 twice, as %2 (type %3) and as %4 (type %5); which one it holds cannot be told.</source>
        <translation>飞控两次报告 %1，分别为 %2（类型 %3）和 %4（类型 %5）；无法确定它实际保存的是哪一个。</translation>
    </message>
</context>
<context>
    <name>ParamFileDialog</name>
    <message>
        <source>Parameter files (*.params *.param *.parm);;All files (*)</source>
        <translation>参数文件 (*.params *.param *.parm);;所有文件 (*)</translation>
    </message>
</context>
<context>
    <name>ParamTransfer</name>
    <message>
        <source>Refused %1: %2.</source>
        <translation>拒绝使用 %1：%2。</translation>
    </message>
    <message>
        <source>The FC did not report its firmware version.</source>
        <translation>飞控没有报告固件版本。</translation>
    </message>
    <message>
        <source>The FC runs firmware version %1; this program works with version %2 only.</source>
        <translation>飞控的固件版本为 %1；本程序只支持版本 %2。</translation>
    </message>
    <message>
        <source>The FC did not answer the request for its parameter list.</source>
        <translation>飞控没有响应参数列表请求。</translation>
    </message>
    <message>
        <source>%1 of %2 parameters did not arrive from the FC.</source>
        <translation>飞控的 %2 个参数中有 %1 个没有收到。</translation>
    </message>
    <message>
        <source>The FC&apos;s parameter %1 cannot be saved: %2.</source>
        <translation>飞控参数 %1 无法保存：%2。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>无法写入 %1：%2。</translation>
    </message>
    <message>
        <source>The FC is armed. Disarm it before restoring settings.</source>
        <translation>飞控已解锁。请先上锁再恢复设置。</translation>
    </message>
    <message>
        <source>Restore cancelled.</source>
        <translation>恢复已取消。</translation>
    </message>
    <message>
        <source>The FC was armed; the restore stopped.</source>
        <translation>飞控已解锁，恢复已停止。</translation>
    </message>
    <message>
        <source>Backup cancelled.</source>
        <translation>备份已取消。</translation>
    </message>
    <message>
        <source>The link to the FC was closed.</source>
        <translation>与飞控的连接已关闭。</translation>
    </message>
    <message>
        <source>No file was written.</source>
        <translation>没有写入任何文件。</translation>
    </message>
    <message>
        <source>Nothing was written.</source>
        <translation>没有写入任何值。</translation>
    </message>
    <message>
        <source>Checking the FC&apos;s firmware version...</source>
        <translation>正在检查飞控固件版本...</translation>
    </message>
    <message>
        <source>Asking the FC for its parameters...</source>
        <translation>正在向飞控请求参数...</translation>
    </message>
    <message>
        <source>Reading parameters: %1 of %2</source>
        <translation>正在读取参数：%1 / %2</translation>
    </message>
    <message>
        <source>Writing parameters: %1 of %2</source>
        <translation>正在写入参数：%1 / %2</translation>
    </message>
    <message>
        <source>No heartbeat from the FC; the restore stopped.</source>
        <translation>没有收到飞控的心跳，恢复已停止。</translation>
    </message>
    <message>
        <source>The FC reports %1 parameters, more than an R7 has (this program reads at most %2).</source>
        <translation>飞控报告有 %1 个参数，超过 R7 应有的数量（本程序最多读取 %2 个）。</translation>
    </message>
    <message>
        <source>No name in %1 is a parameter of this FC.</source>
        <translation>%1 中没有任何名称是此飞控的参数。</translation>
    </message>
    <message>
        <source>Warning: the FC reports values outside their type&apos;s range, saved as reported; the file will not restore until they are corrected: %1.</source>
        <translation>警告：飞控报告的某些值超出其类型的范围，已按报告的值保存；改正之前此文件无法恢复：%1。</translation>
    </message>
    <message>
        <source>Not a parameter of this FC: %1.</source>
        <translation>不是此飞控的参数：%1。</translation>
    </message>
    <message>
        <source>Never written: %1.</source>
        <translation>从不写入：%1。</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>已取消。</translation>
    </message>
    <message>
        <source>Backed up %1 parameters to %2 as %3.</source>
        <translation>已将 %1 个参数备份到 %2，格式为%3。</translation>
    </message>
    <message>
        <source>The FC is armed. Disarm it before setting values.</source>
        <translation>飞控已解锁。请先上锁再设置数值。</translation>
    </message>
    <message>
        <source>No heartbeat from the FC; writing the values stopped.</source>
        <translation>未收到飞控的心跳；数值写入已停止。</translation>
    </message>
    <message>
        <source>The FC was armed; writing the values stopped.</source>
        <translation>飞控已被解锁；数值写入已停止。</translation>
    </message>
    <message>
        <source>the name&apos;s extension chooses the format: .params (%1), .param or .parm (%2)</source>
        <translation>文件格式由文件名的扩展名决定：.params（%1）、.param 或 .parm（%2）</translation>
    </message>
    <message>
        <source>command line</source>
        <translation>命令行</translation>
    </message>
    <message>
        <source>Restore of %1</source>
        <translation>恢复 %1</translation>
    </message>
    <message>
        <source>History cannot undo these writes.</source>
        <translation>历史记录无法撤销这些写入。</translation>
    </message>
</context>
<context>
    <name>ParamType</name>
    <message>
        <source>value is not a whole number</source>
        <translation>数值不是整数</translation>
    </message>
    <message>
        <source>value is out of range (%1 to %2)</source>
        <translation>数值超出范围（%1 到 %2）</translation>
    </message>
    <message>
        <source>value is too large to send exactly</source>
        <translation>数值太大，无法精确发送</translation>
    </message>
</context>
<context>
    <name>ParamWriter</name>
    <message>
        <source>%1 (the FC reports %2)</source>
        <translation>%1（飞控报告的值为 %2）</translation>
    </message>
    <message>
        <source>Written and confirmed: %1 of %2.</source>
        <translation>已写入并确认：%1 / %2。</translation>
    </message>
    <message>
        <source>Not confirmed: %1.</source>
        <translation>未确认：%1。</translation>
    </message>
    <message>
        <source>Not written: %1.</source>
        <translation>未写入：%1 个。</translation>
    </message>
</context>
<context>
    <name>ParameterStore</name>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>数值</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>类型</translation>
    </message>
</context>
<context>
    <name>RadioPage</name>
    <message>
        <source>Num	Minmium	Middle	Maxmium
</source>
        <translation>序号	最小值	中间值	最大值
</translation>
    </message>
    <message>
        <source>Calibrate Complete</source>
        <translation>完成校准</translation>
    </message>
    <message>
        <source>Attention</source>
        <translation>注意</translation>
    </message>
    <message>
        <source>Click &apos;Start Calibrate&apos;,then move all sticks and switches to their extreme positions</source>
        <translation>点击“开始校准”后，将所有摇杆和开关拨到各自的极限位置</translation>
    </message>
    <message>
        <source>Place all sticks in the middle</source>
        <translation>请将所有摇杆置于中间位置</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>校准结果</translation>
    </message>
    <message>
        <source>Radio calibration</source>
        <translation>遥控器校准</translation>
    </message>
    <message>
        <source>Start Calibbrate</source>
        <translation>开始校准</translation>
    </message>
    <message>
        <source>1.Select the correspond-ent type of receiver.  ZEFA flight controller support three different types of receivers: PWM, PPM and SBUS.

2.In the first time of using, you need to calibrate the receiver.  Click the button &apos;Read&apos; and then &apos;Calibrate&apos;, move the joystick and the control switch between the maximum and the minimum position, then click button &apos;calibration completed&apos; and finish the calibration.

3.Channel 1-6 correspond-ent to aileron, going up and down, throttle, rudder, flight mode and return home. Channel 5 should be three bands switch, channel 6 must be two bands switch.If you use PPM or Sbus,you can use channel 7 to control flight feeling </source>
        <translation>1.请选择对应的接收机类型。ZEFA 飞控支持 PWM、PPM 和 SBUS 三种接收机。

2.首次使用时需要校准接收机。先点击“读取”，再点击“校准”，将摇杆和各控制开关在最大与最小位置之间来回拨动，然后点击“完成校准”结束校准。

3.通道 1-6 依次对应副翼、升降、油门、方向、飞行模式和返航。通道 5 应使用三段开关，通道 6 必须使用两段开关。如果使用 PPM 或 SBUS，可以用通道 7 控制飞行手感。</translation>
    </message>
    <message>
        <source>Receiver type</source>
        <translation>接收机类型</translation>
    </message>
</context>
<context>
    <name>RestorePlan</name>
    <message>
        <source>Not on the FC, skipped: %1.</source>
        <translation>飞控中没有、已跳过：%1。</translation>
    </message>
    <message>
        <source>Never written: %1.</source>
        <translation>从不写入：%1。</translation>
    </message>
    <message>
        <source>To write: %1; already equal: %2.</source>
        <translation>需写入：%1 个；已相同：%2 个。</translation>
    </message>
    <message>
        <source>%1 was given another value on line %2</source>
        <translation>%1 在第 %2 行给出了不同的值</translation>
    </message>
    <message>
        <source>The file was saved from system id %1; this FC is system id %2.</source>
        <translation>此文件保存自系统 ID %1；此飞控的系统 ID 为 %2。</translation>
    </message>
</context>
<context>
    <name>SerialPorts</name>
    <message>
        <source>there is no such port</source>
        <translation>没有这个端口</translation>
    </message>
    <message>
        <source>it is a folder, not a serial port</source>
        <translation>这是一个文件夹，不是串口</translation>
    </message>
    <message>
        <source>it is a regular file, not a serial port</source>
        <translation>这是一个普通文件，不是串口</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Select Serial Port</source>
        <translation>选择串口</translation>
    </message>
    <message>
        <source>Description:</source>
        <translation>描述：</translation>
    </message>
    <message>
        <source>Manufacturer:</source>
        <translation>制造商：</translation>
    </message>
    <message>
        <source>Select Parameters</source>
        <translation>选择参数</translation>
    </message>
    <message>
        <source>BaudRate:</source>
        <translation>波特率：</translation>
    </message>
    <message>
        <source>Data bits:</source>
        <translation>数据位：</translation>
    </message>
    <message>
        <source>Parity:</source>
        <translation>校验位：</translation>
    </message>
    <message>
        <source>Stop bits:</source>
        <translation>停止位：</translation>
    </message>
    <message>
        <source>Flow control:</source>
        <translation>流控制：</translation>
    </message>
    <message>
        <source>Help:</source>
        <translation>帮助：</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Description: %1</source>
        <translation>描述：%1</translation>
    </message>
    <message>
        <source>Manufacturer: %1</source>
        <translation>制造商：%1</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>自定义</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶校验</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇校验</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>标记校验</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>空格校验</translation>
    </message>
    <message>
        <source>1.5</source>
        <translation>1.5</translation>
    </message>
    <message>
        <source>RTS/CTS</source>
        <translation>RTS/CTS</translation>
    </message>
    <message>
        <source>XON/XOFF</source>
        <translation>XON/XOFF</translation>
    </message>
</context>
<context>
    <name>TransferProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>VoltagePage</name>
    <message>
        <source>1.Battery failsafe setting


</source>
        <translation>1.低电压保护设置


</translation>
    </message>
    <message>
        <source>2.Battery Voltage Calibrate</source>
        <translation>2.电池电压校准</translation>
    </message>
    <message>
        <source>Low voltage fail safe</source>
        <translation>低电压保护</translation>
    </message>
    <message>
        <source>Alarm voltage</source>
        <translation>报警电压</translation>
    </message>
    <message>
        <source>Voltage calibration</source>
        <translation>电压校准</translation>
    </message>
</context>
</TS>
