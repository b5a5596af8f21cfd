<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CClockSetDlg</name>
    <message>
        <source>Overclocking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature priority on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature priority off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link power and temperature targets</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to profile 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to profile 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to profile 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fan mode Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fan mode Manual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fan mode User</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGeneralDlg</name>
    <message>
        <source>General properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start with Windows</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>Start minimized</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update checking properties</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for available product</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recent updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check now</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CGpuInfoDlg</name>
    <message>
        <source>GPU Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPU</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CMonitorDlg</name>
    <message>
        <source>Monitor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVantrelDlg</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clock Lock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPU Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overclock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CVoltageSetDlg</name>
    <message>
        <source>Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over-voltage on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over-voltage off</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GlobalHotKey</name>
    <message>
        <source>Save a screenshot of the Vantrel window</source>
        <translation>Save a screenshot of the Vantrel window</translation>
    </message>
</context>
<context>
    <name>QuickSight</name>
    <message>
        <source>GPU Clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Memory Clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fan Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPU Load</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power Target</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPU Voltage</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>gpu</name>
    <message>
        <source>NVAPI信息</source>
        <translation>NVAPI information</translation>
    </message>
    <message>
        <source> GPU物理地址无效.</source>
        <translation>Invalid physical GPU handle.</translation>
    </message>
    <message>
        <source>Handle passed has been invalidated .</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>程序参数错误.</source>
        <translation>Invalid program argument.</translation>
    </message>
    <message>
        <source>NVAPI读取GPU温度失败: </source>
        <translation>NVAPI could not read the GPU temperature: </translation>
    </message>
</context>
</TS>
