<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>Share</source>
        <translation>Share</translation>
    </message>
    <message>
        <source>To share the Sina micro-blog</source>
        <translation>Share on Sina Weibo</translation>
    </message>
    <message>
        <source>To share the Tencent micro-blog</source>
        <translation>Share on Tencent Qzone</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Vantrel Version:beta1</source>
        <translation>Vantrel version: beta1</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Support:</translation>
    </message>
    <message>
        <source>BBS: </source>
        <translation>Forum: </translation>
    </message>
    <message>
        <source>Tessaril Official website</source>
        <translation>Tessaril official website</translation>
    </message>
</context>
<context>
    <name>CBiosDlg</name>
    <message>
        <source>BIOS Files |*.rom|All Files (*.*)|*.*||</source>
        <translation>BIOS files|*.rom|All files|*||</translation>
    </message>
    <message>
        <source>BIOS</source>
        <translation>BIOS</translation>
    </message>
    <message>
        <source>Save BIOS to file</source>
        <translation>Save BIOS to file</translation>
    </message>
    <message>
        <source>Save file to BIOS</source>
        <translation>Write file to BIOS</translation>
    </message>
    <message>
        <source>Write the BIOS image %1 to the graphics card?

A wrong or damaged image can leave the card unusable. Do not turn the computer off until the tool has finished.</source>
        <translation>Write the BIOS image %1 to the graphics card?

A wrong or damaged image can leave the card unusable. Do not turn the computer off until the tool has finished.</translation>
    </message>
</context>
<context>
    <name>CClockSetDlg</name>
    <message>
        <source>Overclocking</source>
        <translation>Overclocking</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Temperature priority on</source>
        <translation>Temperature priority on</translation>
    </message>
    <message>
        <source>Temperature priority off</source>
        <translation>Temperature priority off</translation>
    </message>
    <message>
        <source>Link power and temperature targets</source>
        <translation>Link power and temperature targets</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>Profile 1</source>
        <translation>Profile 1</translation>
    </message>
    <message>
        <source>Profile 2</source>
        <translation>Profile 2</translation>
    </message>
    <message>
        <source>Profile 3</source>
        <translation>Profile 3</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Save to profile 1</source>
        <translation>Save to profile 1</translation>
    </message>
    <message>
        <source>Save to profile 2</source>
        <translation>Save to profile 2</translation>
    </message>
    <message>
        <source>Save to profile 3</source>
        <translation>Save to profile 3</translation>
    </message>
    <message>
        <source>Fan mode Auto</source>
        <translation>Fan mode Auto</translation>
    </message>
    <message>
        <source>Fan mode Manual</source>
        <translation>Fan mode Manual</translation>
    </message>
    <message>
        <source>Fan mode User</source>
        <translation>Fan mode User</translation>
    </message>
    <message>
        <source>You sure you want to apply the settings?</source>
        <translation>Are you sure you want to apply the settings?</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>GPU Clock Offset,MHz</source>
        <translation>GPU Clock Offset,MHz</translation>
    </message>
    <message>
        <source>Memory Clock Offset,MHz</source>
        <translation>Memory Clock Offset,MHz</translation>
    </message>
    <message>
        <source>Fan Speed,%</source>
        <translation>Fan Speed,%</translation>
    </message>
    <message>
        <source>Power Target,%</source>
        <translation>Power Target,%</translation>
    </message>
    <message>
        <source>GPU Temp Target,C</source>
        <translation>GPU Temp Target,°C</translation>
    </message>
</context>
<context>
    <name>CControls</name>
    <message>
        <source>RedrawWindow fail</source>
        <translation>The window could not be redrawn.</translation>
    </message>
</context>
<context>
    <name>CFanDlg</name>
    <message>
        <source>Fan control properties</source>
        <translation>Fan control properties</translation>
    </message>
    <message>
        <source>Enable Ploverin fan control system</source>
        <translation>Enable Ploverin fan control system</translation>
    </message>
    <message>
        <source>Auto Enable Ploverin fan control system on Vantrel startup</source>
        <translation>Enable the Ploverin fan control system when Vantrel starts</translation>
    </message>
    <message>
        <source>Fan speed update period(in milliseconds)</source>
        <translation>Fan speed update period (milliseconds)</translation>
    </message>
</context>
<context>
    <name>CFlashTool</name>
    <message>
        <source>The flashing tool stopped abnormally: %1</source>
        <translation>The flashing tool stopped abnormally: %1</translation>
    </message>
    <message>
        <source>The flashing tool failed (exit status %1).</source>
        <translation>The flashing tool failed (exit status %1).</translation>
    </message>
    <message>
        <source>The flashing tool failed (exit status %1): %2</source>
        <translation>The flashing tool failed (exit status %1): %2</translation>
    </message>
    <message>
        <source>The flashing tool wrote the BIOS image to the card.</source>
        <translation>The flashing tool wrote the BIOS image to the card.</translation>
    </message>
    <message>
        <source>The flashing tool wrote no BIOS image (%1 was not written).</source>
        <translation>The flashing tool wrote no BIOS image (%1 was not written).</translation>
    </message>
    <message>
        <source>The BIOS was saved to %1.</source>
        <translation>The BIOS was saved to %1.</translation>
    </message>
    <message>
        <source>The BIOS image could not be copied to %1: %2</source>
        <translation>The BIOS image could not be copied to %1: %2</translation>
    </message>
    <message>
        <source>The flashing tool is already running.</source>
        <translation>The flashing tool is already running.</translation>
    </message>
    <message>
        <source>The flashing tool %1 was found neither in the program&apos;s folder nor on the search path.</source>
        <translation>The flashing tool %1 was found neither in the program&apos;s folder nor on the search path.</translation>
    </message>
    <message>
        <source>The flashing tool could not be started: %1</source>
        <translation>The flashing tool could not be started: %1</translation>
    </message>
</context>
<context>
    <name>CGeneralDlg</name>
    <message>
        <source>General properties</source>
        <translation>General properties</translation>
    </message>
    <message>
        <source>Start with Windows</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>Start minimized</source>
        <translation>Start minimized</translation>
    </message>
    <message>
        <source>Update checking properties</source>
        <translation>Update checking properties</translation>
    </message>
    <message>
        <source>Check for available product</source>
        <translation>Check for updates</translation>
    </message>
    <message>
        <source>Recent updates</source>
        <translation>Recent updates</translation>
    </message>
    <message>
        <source>Check now</source>
        <translation>Check now</translation>
    </message>
    <message>
        <source>never</source>
        <translation>never</translation>
    </message>
    <message>
        <source>on startup</source>
        <translation>on startup</translation>
    </message>
    <message>
        <source>on startup daily</source>
        <translation>on startup daily</translation>
    </message>
    <message>
        <source>on startup weekly</source>
        <translation>on startup weekly</translation>
    </message>
    <message>
        <source>on startup monthly</source>
        <translation>on startup monthly</translation>
    </message>
</context>
<context>
    <name>CGpuInfoDlg</name>
    <message>
        <source>GPU Information</source>
        <translation>GPU Information</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
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
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>GPU Clock,MHz</source>
        <translation>GPU Clock,MHz</translation>
    </message>
    <message>
        <source>Memory Clock,MHz</source>
        <translation>Memory Clock,MHz</translation>
    </message>
    <message>
        <source>GPU Temperature,C</source>
        <translation>GPU Temperature,°C</translation>
    </message>
    <message>
        <source>GPU Usage,%</source>
        <translation>GPU Usage,%</translation>
    </message>
    <message>
        <source>Memory Usage,MB</source>
        <translation>Memory Usage,MB</translation>
    </message>
    <message>
        <source>GPU Voltage,mV</source>
        <translation>GPU Voltage,mV</translation>
    </message>
    <message>
        <source>Fan Speed,%</source>
        <translation>Fan Speed,%</translation>
    </message>
    <message>
        <source>Fan Tachometer,RPM</source>
        <translation>Fan Tachometer,RPM</translation>
    </message>
    <message>
        <source>Power Target,%</source>
        <translation>Power Target,%</translation>
    </message>
    <message>
        <source>Shader Clock,MHz</source>
        <translation>Shader Clock,MHz</translation>
    </message>
</context>
<context>
    <name>CMonitoringDlg</name>
    <message>
        <source>GPU clock</source>
        <translation>GPU clock</translation>
    </message>
    <message>
        <source>Memory clock</source>
        <translation>Memory clock</translation>
    </message>
    <message>
        <source>GPU temperature</source>
        <translation>GPU temperature</translation>
    </message>
    <message>
        <source>GPU usage</source>
        <translation>GPU usage</translation>
    </message>
    <message>
        <source>Memory usage</source>
        <translation>Memory usage</translation>
    </message>
    <message>
        <source>GPU voltage</source>
        <translation>GPU voltage</translation>
    </message>
    <message>
        <source>Fan speed</source>
        <translation>Fan speed</translation>
    </message>
    <message>
        <source>Fan tachometer</source>
        <translation>Fan tachometer</translation>
    </message>
    <message>
        <source>Power Target</source>
        <translation>Power Target</translation>
    </message>
    <message>
        <source>Shader clock</source>
        <translation>Shader clock</translation>
    </message>
    <message>
        <source>Hardware monitoring properties</source>
        <translation>Hardware monitoring properties</translation>
    </message>
    <message>
        <source>Hardware polling period(in milliseconds) </source>
        <translation>Hardware polling period (milliseconds)</translation>
    </message>
    <message>
        <source>Hardware monitoring history</source>
        <translation>Hardware monitoring history</translation>
    </message>
    <message>
        <source>Log history to file</source>
        <translation>Log history to file</translation>
    </message>
    <message>
        <source>Active hardware monitoring graphs</source>
        <translation>Active hardware monitoring graphs</translation>
    </message>
    <message>
        <source>Graph</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>GPU clock graphs properties</source>
        <translation>GPU clock graphs properties</translation>
    </message>
    <message>
        <source>Maxinum limit</source>
        <translation>Maximum limit</translation>
    </message>
    <message>
        <source>Mininum limit</source>
        <translation>Minimum limit</translation>
    </message>
    <message>
        <source>Please select at least four</source>
        <translation>Please select at least four graphs.</translation>
    </message>
    <message>
        <source>txt|*.txt|All fils|*.*||</source>
        <translation>Text files|*.txt|All files|*||</translation>
    </message>
</context>
<context>
    <name>CQuickSightSettingsDlg</name>
    <message>
        <source>GPU clock</source>
        <translation>GPU clock</translation>
    </message>
    <message>
        <source>Memory clock</source>
        <translation>Memory clock</translation>
    </message>
    <message>
        <source>Fan speed</source>
        <translation>Fan speed</translation>
    </message>
    <message>
        <source>GPU load</source>
        <translation>GPU load</translation>
    </message>
    <message>
        <source>TDP(%)</source>
        <translation>TDP(%)</translation>
    </message>
    <message>
        <source>GPU Voltage</source>
        <translation>GPU Voltage</translation>
    </message>
    <message>
        <source>Left sight: </source>
        <translation>Left gauge:</translation>
    </message>
    <message>
        <source>Right sight: </source>
        <translation>Right gauge:</translation>
    </message>
</context>
<context>
    <name>CSetDlg</name>
    <message>
        <source>General</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Fan</source>
        <translation>Fan</translation>
    </message>
    <message>
        <source>BIOS</source>
        <translation>BIOS</translation>
    </message>
    <message>
        <source>Monitoring</source>
        <translation>Monitoring</translation>
    </message>
    <message>
        <source>Quick Sight Settings</source>
        <translation>Quick Sight Settings</translation>
    </message>
    <message>
        <source>UI</source>
        <translation>UI</translation>
    </message>
    <message>
        <source>About</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Seting Properties</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CStaticFanCtl</name>
    <message>
        <source>Fan speed,%</source>
        <translation>Fan speed,%</translation>
    </message>
    <message>
        <source>Teperature,℃</source>
        <translation>Temperature,℃</translation>
    </message>
</context>
<context>
    <name>CUIDlg</name>
    <message>
        <source>UI screenshot</source>
        <translation>UI screenshot</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>Hotkeys</source>
        <translation>Hot key</translation>
    </message>
    <message>
        <source>User interface skinning properties</source>
        <translation>User interface skinning properties</translation>
    </message>
    <message>
        <source>Interface 1</source>
        <translation>Interface 1</translation>
    </message>
</context>
<context>
    <name>CVantrelDlg</name>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimise</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Clock Lock</source>
        <translation>Clock Lock</translation>
    </message>
    <message>
        <source>GPU Info</source>
        <translation>GPU Info</translation>
    </message>
    <message>
        <source>Overclock</source>
        <translation>Overclock</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Any inappropriate adjusting may cause unpredictable damages to your graphics card.Damages caused by customing your graphics card are not covered under any Tessaril productand may not be covered by your graphics card or system manufacturer&apos;s warranty.</source>
        <translation>Any inappropriate adjusting may cause unpredictable damage to your graphics card. Damage caused by customizing your graphics card is not covered under any Tessaril product and may not be covered by your graphics card or system manufacturer&apos;s warranty.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>Show</translation>
    </message>
</context>
<context>
    <name>CVoltageSetDlg</name>
    <message>
        <source>Voltage</source>
        <translation>Voltage</translation>
    </message>
    <message>
        <source>Over-voltage on</source>
        <translation>Over-voltage on</translation>
    </message>
    <message>
        <source>Over-voltage off</source>
        <translation>Over-voltage off</translation>
    </message>
    <message>
        <source>Enabling this function may cause unpredictable damages to your graphics card. And they are not covered under any Tessaril product warranty and may not be covered by your graphics card or system manufacturer&apos;s warranty.</source>
        <translation>Enabling this function may cause unpredictable damage to your graphics card. Such damage is not covered under any Tessaril product warranty and may not be covered by your graphics card or system manufacturer&apos;s warranty.</translation>
    </message>
    <message>
        <source>Voltage Minimum,mV</source>
        <translation>Minimum Voltage,mV</translation>
    </message>
    <message>
        <source>GPU Max Voltage,mV</source>
        <translation>GPU Max Voltage,mV</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
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
    <name>HotKeyControl</name>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
</context>
<context>
    <name>PrivilegeWatch</name>
    <message>
        <source>Changing the graphics card&apos;s settings needs administrator rights.
The card refused the change, so nothing was changed. Start the service vantreld and join the group &quot;vantrel&quot;, or run Vantrel as root.</source>
        <translation>Changing the graphics card&apos;s settings needs administrator rights.
The card refused the change, so nothing was changed. Start the service vantreld and join the group &quot;vantrel&quot;, or run Vantrel as root.</translation>
    </message>
</context>
<context>
    <name>QuickSight</name>
    <message>
        <source>GPU Clock</source>
        <translation>GPU Clock</translation>
    </message>
    <message>
        <source>Memory Clock</source>
        <translation>Memory Clock</translation>
    </message>
    <message>
        <source>Fan Speed</source>
        <translation>Fan Speed</translation>
    </message>
    <message>
        <source>GPU Load</source>
        <translation>GPU Load</translation>
    </message>
    <message>
        <source>Power Target</source>
        <translation>Power Target</translation>
    </message>
    <message>
        <source>GPU Voltage</source>
        <translation>GPU Voltage</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>The program can not start, your graphics card does not support or need to install the latest NVIDIA drivers</source>
        <translation>The program cannot start: your graphics card is not supported, or the latest NVIDIA drivers need to be installed.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>The program can not start: there is no folder for your settings. Set HOME or XDG_CONFIG_HOME to a folder you may write to.</source>
        <translation>The program cannot start: there is no folder for your settings. Set HOME or XDG_CONFIG_HOME to a folder you may write to.</translation>
    </message>
</context>
<context>
    <name>UpdateChecker</name>
    <message>
        <source>The updater &quot;%1&quot; could not be started: %2.</source>
        <translation>The updater &quot;%1&quot; could not be started: %2.</translation>
    </message>
    <message>
        <source>New version available</source>
        <translation>New version available</translation>
    </message>
    <message>
        <source>A newer version of Vantrel is available. Do you want to download it now?</source>
        <translation>A newer version of Vantrel is available. Do you want to download it now?</translation>
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
        <translation>The handle passed has been invalidated.</translation>
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
