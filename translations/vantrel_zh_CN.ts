<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
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
</context>
<context>
    <name>GlobalHotKey</name>
    <message>
        <source>Save a screenshot of the Vantrel window</source>
        <translation>保存 Vantrel 窗口的截图</translation>
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
