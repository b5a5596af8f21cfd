<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>Share</source>
        <translation>分享</translation>
    </message>
    <message>
        <source>To share the Sina micro-blog</source>
        <translation>分享到新浪微博</translation>
    </message>
    <message>
        <source>To share the Tencent micro-blog</source>
        <translation>分享到腾讯 QQ 空间</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Vantrel Version:beta1</source>
        <translation>Vantrel 版本：beta1</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>支持：</translation>
    </message>
    <message>
        <source>BBS: </source>
        <translation>论坛：</translation>
    </message>
    <message>
        <source>Tessaril Official website</source>
        <translation>Tessaril 官方网站</translation>
    </message>
</context>
<context>
    <name>CBiosDlg</name>
    <message>
        <source>BIOS Files |*.rom|All Files (*.*)|*.*||</source>
        <translation>BIOS 文件|*.rom|所有文件|*||</translation>
    </message>
    <message>
        <source>BIOS</source>
        <translation>BIOS</translation>
    </message>
    <message>
        <source>Save BIOS to file</source>
        <translation>保存 BIOS 到文件</translation>
    </message>
    <message>
        <source>Save file to BIOS</source>
        <translation>将文件写入 BIOS</translation>
    </message>
    <message>
        <source>Write the BIOS image %1 to the graphics card?

A wrong or damaged image can leave the card unusable. Do not turn the computer off until the tool has finished.</source>
        <translation>将 BIOS 映像 %1 写入显卡吗？

错误或损坏的映像可能使显卡无法使用。在工具完成之前请勿关闭计算机。</translation>
    </message>
</context>
<context>
    <name>CClockSetDlg</name>
    <message>
        <source>Overclocking</source>
        <translation>超频</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Temperature priority on</source>
        <translation>温度优先：开</translation>
    </message>
    <message>
        <source>Temperature priority off</source>
        <translation>温度优先：关</translation>
    </message>
    <message>
        <source>Link power and temperature targets</source>
        <translation>关联功耗与温度目标</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Profile 1</source>
        <translation>配置 1</translation>
    </message>
    <message>
        <source>Profile 2</source>
        <translation>配置 2</translation>
    </message>
    <message>
        <source>Profile 3</source>
        <translation>配置 3</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save to profile 1</source>
        <translation>保存到配置 1</translation>
    </message>
    <message>
        <source>Save to profile 2</source>
        <translation>保存到配置 2</translation>
    </message>
    <message>
        <source>Save to profile 3</source>
        <translation>保存到配置 3</translation>
    </message>
    <message>
        <source>Fan mode Auto</source>
        <translation>风扇模式：自动</translation>
    </message>
    <message>
        <source>Fan mode Manual</source>
        <translation>风扇模式：手动</translation>
    </message>
    <message>
        <source>Fan mode User</source>
        <translation>风扇模式：自定义</translation>
    </message>
    <message>
        <source>You sure you want to apply the settings?</source>
        <translation>确定要应用这些设置吗？</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>GPU Clock Offset,MHz</source>
        <translation>GPU 频率偏移,MHz</translation>
    </message>
    <message>
        <source>Memory Clock Offset,MHz</source>
        <translation>显存频率偏移,MHz</translation>
    </message>
    <message>
        <source>Fan Speed,%</source>
        <translation>风扇转速,%</translation>
    </message>
    <message>
        <source>Power Target,%</source>
        <translation>功耗目标,%</translation>
    </message>
    <message>
        <source>GPU Temp Target,C</source>
        <translation>GPU 温度目标,°C</translation>
    </message>
</context>
<context>
    <name>CControls</name>
    <message>
        <source>RedrawWindow fail</source>
        <translation>窗口重绘失败。</translation>
    </message>
</context>
<context>
    <name>CFanDlg</name>
    <message>
        <source>Fan control properties</source>
        <translation>风扇控制属性</translation>
    </message>
    <message>
        <source>Enable Ploverin fan control system</source>
        <translation>启用 Ploverin 风扇控制系统</translation>
    </message>
    <message>
        <source>Auto Enable Ploverin fan control system on Vantrel startup</source>
        <translation>Vantrel 启动时自动启用 Ploverin 风扇控制系统</translation>
    </message>
    <message>
        <source>Fan speed update period(in milliseconds)</source>
        <translation>风扇转速更新周期（毫秒）</translation>
    </message>
</context>
<context>
    <name>CFlashTool</name>
    <message>
        <source>The flashing tool stopped abnormally: %1</source>
        <translation>刷写工具异常终止：%1</translation>
    </message>
    <message>
        <source>The flashing tool failed (exit status %1).</source>
        <translation>刷写工具失败（退出状态 %1）。</translation>
    </message>
    <message>
        <source>The flashing tool failed (exit status %1): %2</source>
        <translation>刷写工具失败（退出状态 %1）：%2</translation>
    </message>
    <message>
        <source>The flashing tool wrote the BIOS image to the card.</source>
        <translation>刷写工具已将 BIOS 映像写入显卡。</translation>
    </message>
    <message>
        <source>The flashing tool wrote no BIOS image (%1 was not written).</source>
        <translation>刷写工具没有写出 BIOS 映像（未写入 %1）。</translation>
    </message>
    <message>
        <source>The BIOS was saved to %1.</source>
        <translation>BIOS 已保存到 %1。</translation>
    </message>
    <message>
        <source>The BIOS image could not be copied to %1: %2</source>
        <translation>无法将 BIOS 映像复制到 %1：%2</translation>
    </message>
    <message>
        <source>The flashing tool is already running.</source>
        <translation>刷写工具已在运行。</translation>
    </message>
    <message>
        <source>The flashing tool %1 was found neither in the program&apos;s folder nor on the search path.</source>
        <translation>在程序文件夹和搜索路径中都找不到刷写工具 %1。</translation>
    </message>
    <message>
        <source>The flashing tool could not be started: %1</source>
        <translation>无法启动刷写工具：%1</translation>
    </message>
</context>
<context>
    <name>CGeneralDlg</name>
    <message>
        <source>General properties</source>
        <translation>常规属性</translation>
    </message>
    <message>
        <source>Start with Windows</source>
        <translation>登录时启动</translation>
    </message>
    <message>
        <source>Start minimized</source>
        <translation>启动时最小化</translation>
    </message>
    <message>
        <source>Update checking properties</source>
        <translation>更新检查属性</translation>
    </message>
    <message>
        <source>Check for available product</source>
        <translation>检查可用更新</translation>
    </message>
    <message>
        <source>Recent updates</source>
        <translation>最近更新</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>立即检查</translation>
    </message>
    <message>
        <source>never</source>
        <translation>从不</translation>
    </message>
    <message>
        <source>on startup</source>
        <translation>启动时</translation>
    </message>
    <message>
        <source>on startup daily</source>
        <translation>启动时，每天一次</translation>
    </message>
    <message>
        <source>on startup weekly</source>
        <translation>启动时，每周一次</translation>
    </message>
    <message>
        <source>on startup monthly</source>
        <translation>启动时，每月一次</translation>
    </message>
</context>
<context>
    <name>CGpuInfoDlg</name>
    <message>
        <source>GPU Information</source>
        <translation>GPU 信息</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>GPU</source>
        <translation>GPU</translation>
    </message>
</context>
<context>
    <name>CMonitorDlg</name>
    <message>
        <source>Monitor</source>
        <translation>监控</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>GPU Clock,MHz</source>
        <translation>GPU 频率,MHz</translation>
    </message>
    <message>
        <source>Memory Clock,MHz</source>
        <translation>显存频率,MHz</translation>
    </message>
    <message>
        <source>GPU Temperature,C</source>
        <translation>GPU 温度,°C</translation>
    </message>
    <message>
        <source>GPU Usage,%</source>
        <translation>GPU 使用率,%</translation>
    </message>
    <message>
        <source>Memory Usage,MB</source>
        <translation>显存使用量,MB</translation>
    </message>
    <message>
        <source>GPU Voltage,mV</source>
        <translation>GPU 电压,mV</translation>
    </message>
    <message>
        <source>Fan Speed,%</source>
        <translation>风扇转速,%</translation>
    </message>
    <message>
        <source>Fan Tachometer,RPM</source>
        <translation>风扇转速计,RPM</translation>
    </message>
    <message>
        <source>Power Target,%</source>
        <translation>功耗目标,%</translation>
    </message>
    <message>
        <source>Shader Clock,MHz</source>
        <translation>着色器频率,MHz</translation>
    </message>
</context>
<context>
    <name>CMonitoringDlg</name>
    <message>
        <source>GPU clock</source>
        <translation>GPU 频率</translation>
    </message>
    <message>
        <source>Memory clock</source>
        <translation>显存频率</translation>
    </message>
    <message>
        <source>GPU temperature</source>
        <translation>GPU 温度</translation>
    </message>
    <message>
        <source>GPU usage</source>
        <translation>GPU 使用率</translation>
    </message>
    <message>
        <source>Memory usage</source>
        <translation>显存使用量</translation>
    </message>
    <message>
        <source>GPU voltage</source>
        <translation>GPU 电压</translation>
    </message>
    <message>
        <source>Fan speed</source>
        <translation>风扇转速</translation>
    </message>
    <message>
        <source>Fan tachometer</source>
        <translation>风扇转速计</translation>
    </message>
    <message>
        <source>Power Target</source>
        <translation>功耗目标</translation>
    </message>
    <message>
        <source>Shader clock</source>
        <translation>着色器频率</translation>
    </message>
    <message>
        <source>Hardware monitoring properties</source>
        <translation>硬件监控属性</translation>
    </message>
    <message>
        <source>Hardware polling period(in milliseconds) </source>
        <translation>硬件轮询周期（毫秒）</translation>
    </message>
    <message>
        <source>Hardware monitoring history</source>
        <translation>硬件监控历史</translation>
    </message>
    <message>
        <source>Log history to file</source>
        <translation>将历史记录到文件</translation>
    </message>
    <message>
        <source>Active hardware monitoring graphs</source>
        <translation>启用的硬件监控图表</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>图表</translation>
    </message>
    <message>
        <source>GPU clock graphs properties</source>
        <translation>GPU 频率图表属性</translation>
    </message>
    <message>
        <source>Maxinum limit</source>
        <translation>上限</translation>
    </message>
    <message>
        <source>Mininum limit</source>
        <translation>下限</translation>
    </message>
    <message>
        <source>Please select at least four</source>
        <translation>请至少选择四项。</translation>
    </message>
    <message>
        <source>txt|*.txt|All fils|*.*||</source>
        <translation>文本文件|*.txt|所有文件|*||</translation>
    </message>
</context>
<context>
    <name>CQuickSightSettingsDlg</name>
    <message>
        <source>GPU clock</source>
        <translation>GPU 频率</translation>
    </message>
    <message>
        <source>Memory clock</source>
        <translation>显存频率</translation>
    </message>
    <message>
        <source>Fan speed</source>
        <translation>风扇转速</translation>
    </message>
    <message>
        <source>GPU load</source>
        <translation>GPU 负载</translation>
    </message>
    <message>
        <source>TDP(%)</source>
        <translation>TDP(%)</translation>
    </message>
    <message>
        <source>GPU Voltage</source>
        <translation>GPU 电压</translation>
    </message>
    <message>
        <source>Left sight: </source>
        <translation>左侧仪表：</translation>
    </message>
    <message>
        <source>Right sight: </source>
        <translation>右侧仪表：</translation>
    </message>
</context>
<context>
    <name>CSetDlg</name>
    <message>
        <source>General</source>
        <translation>常规</translation>
    </message>
    <message>
        <source>Fan</source>
        <translation>风扇</translation>
    </message>
    <message>
        <source>BIOS</source>
        <translation>BIOS</translation>
    </message>
    <message>
        <source>Monitoring</source>
        <translation>监控</translation>
    </message>
    <message>
        <source>Quick Sight Settings</source>
        <translation>快速查看设置</translation>
    </message>
    <message>
        <source>UI</source>
        <translation>界面</translation>
    </message>
    <message>
        <source>About</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Seting Properties</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CStaticFanCtl</name>
    <message>
        <source>Fan speed,%</source>
        <translation>风扇转速,%</translation>
    </message>
    <message>
        <source>Teperature,℃</source>
        <translation>温度,℃</translation>
    </message>
</context>
<context>
    <name>CUIDlg</name>
    <message>
        <source>UI screenshot</source>
        <translation>界面截图</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>保存到</translation>
    </message>
    <message>
        <source>Hotkeys</source>
        <translation>快捷键</translation>
    </message>
    <message>
        <source>User interface skinning properties</source>
        <translation>界面皮肤属性</translation>
    </message>
    <message>
        <source>Interface 1</source>
        <translation>界面 1</translation>
    </message>
</context>
<context>
    <name>CVantrelDlg</name>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Clock Lock</source>
        <translation>频率锁定</translation>
    </message>
    <message>
        <source>GPU Info</source>
        <translation>GPU 信息</translation>
    </message>
    <message>
        <source>Overclock</source>
        <translation>超频</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>监控</translation>
    </message>
    <message>
        <source>Any inappropriate adjusting may cause unpredictable damages to your graphics card.Damages caused by customing your graphics card are not covered under any Tessaril productand may not be covered by your graphics card or system manufacturer&apos;s warranty.</source>
        <translation>任何不当的调整都可能对显卡造成不可预知的损坏。自定义显卡设置造成的损坏不在任何 Tessaril 产品的保修范围内，也可能不在显卡或系统制造商的保修范围内。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
</context>
<context>
    <name>CVoltageSetDlg</name>
    <message>
        <source>Voltage</source>
        <translation>电压</translation>
    </message>
    <message>
        <source>Over-voltage on</source>
        <translation>超压：开</translation>
    </message>
    <message>
        <source>Over-voltage off</source>
        <translation>超压：关</translation>
    </message>
    <message>
        <source>Enabling this function may cause unpredictable damages to your graphics card. And they are not covered under any Tessaril product warranty and may not be covered by your graphics card or system manufacturer&apos;s warranty.</source>
        <translation>启用此功能可能对显卡造成不可预知的损坏。此类损坏不在任何 Tessaril 产品的保修范围内，也可能不在显卡或系统制造商的保修范围内。</translation>
    </message>
    <message>
        <source>Voltage Minimum,mV</source>
        <translation>最低电压,mV</translation>
    </message>
    <message>
        <source>GPU Max Voltage,mV</source>
        <translation>GPU 最高电压,mV</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
</context>
<context>
    <name>GlobalHotKey</name>
    <message>
        <source>Save a screenshot of the Vantrel window</source>
        <translation>保存 Vantrel 窗口的截图</translation>
    </message>
</context>
<context>
    <name>HotKeyControl</name>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>PrivilegeWatch</name>
    <message>
        <source>Changing the graphics card&apos;s settings needs administrator rights.
The card refused the change, so nothing was changed. Start the service vantreld and join the group &quot;vantrel&quot;, or run Vantrel as root.</source>
        <translation>更改显卡设置需要管理员权限。
显卡拒绝了此更改，因此没有任何改动。请启动服务 vantreld 并加入用户组“vantrel”，或以 root 身份运行 Vantrel。</translation>
    </message>
</context>
<context>
    <name>QuickSight</name>
    <message>
        <source>GPU Clock</source>
        <translation>GPU 频率</translation>
    </message>
    <message>
        <source>Memory Clock</source>
        <translation>显存频率</translation>
    </message>
    <message>
        <source>Fan Speed</source>
        <translation>风扇转速</translation>
    </message>
    <message>
        <source>GPU Load</source>
        <translation>GPU 负载</translation>
    </message>
    <message>
        <source>Power Target</source>
        <translation>功耗目标</translation>
    </message>
    <message>
        <source>GPU Voltage</source>
        <translation>GPU 电压</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>The program can not start, your graphics card does not support or need to install the latest NVIDIA drivers</source>
        <translation>程序无法启动：您的显卡不受支持，或需要安装最新的 NVIDIA 驱动程序。</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>The program can not start: there is no folder for your settings. Set HOME or XDG_CONFIG_HOME to a folder you may write to.</source>
        <translation>程序无法启动：没有保存设置的文件夹。请将 HOME 或 XDG_CONFIG_HOME 设为您可写入的文件夹。</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>The updater &quot;%1&quot; could not be started: %2.</source>
        <translation>无法启动更新程序“%1”：%2。</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>有新版本可用</translation>
    </message>
    <message>
        <source>A newer version of Vantrel is available. Do you want to download it now?</source>
        <translation>Vantrel 有更新的版本可用。现在下载吗？</translation>
    </message>
</context>
<context>
    <name>gpu</name>
    <message>
        <source>NVAPI信息</source>
        <translation>NVAPI信息</translation>
    </message>
    <message>
        <source> GPU物理地址无效.</source>
        <translation> GPU物理地址无效.</translation>
    </message>
    <message>
        <source>Handle passed has been invalidated .</source>
        <translation>传入的句柄已失效。</translation>
    </message>
    <message>
        <source>程序参数错误.</source>
        <translation>程序参数错误.</translation>
    </message>
    <message>
        <source>NVAPI读取GPU温度失败: </source>
        <translation>NVAPI读取GPU温度失败: </translation>
    </message>
</context>
</TS>
