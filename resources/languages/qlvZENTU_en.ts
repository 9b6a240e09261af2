<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>MainWindow</name>
    <message>
        <source>varnix - leakvalve</source>
        <translation>varnix - leakvalve</translation>
    </message>
    <message>
        <source>Real Time Clock not working</source>
        <translation>Real Time Clock not working</translation>
    </message>
    <message>
        <source>Set Data is running...</source>
        <translation>Set Data is running...</translation>
    </message>
    <message>
        <source>Do you want to stop it or return to the manual tab?</source>
        <translation>Do you want to stop it or return to the manual tab?</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>TeachIn - Inormation</source>
        <translation>TeachIn - Inormation</translation>
    </message>
    <message>
        <source>Selected TeachIn file has different Sensor.
To select another one goto to Settings Tab or long press on the diagram.</source>
        <translation>Selected TeachIn file has different Sensor.
To select another one goto to Settings Tab or long press on the diagram.</translation>
    </message>
    <message>
        <source>Unexpected Shutdown</source>
        <translation>Unexpected Shutdown</translation>
    </message>
    <message>
        <source>Valve was not shut down correctly. Probably due to Power loss. Make sure you always shut down the valve by pressing the yellow Power-Off button on the uppern right corner bfore turning power off by the physical Power-OFF button right to the touch screen.</source>
        <translation>Valve was not shut down correctly. Probably due to Power loss. Make sure you always shut down the valve by pressing the yellow Power-Off button on the uppern right corner bfore turning power off by the physical Power-OFF button right to the touch screen.</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>The software was updated successfully.</source>
        <translation>The software was updated successfully.</translation>
    </message>
    <message>
        <source>TeachIn Data changed</source>
        <translation>TeachIn Data changed</translation>
    </message>
    <message>
        <source>Do you want to set the new data file active?</source>
        <translation>Do you want to set the new data file active?</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Init GUI...</source>
        <translation>Init GUI...</translation>
    </message>
</context>
<context>
    <name>formCurrentState</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Open Curve</source>
        <translation>Open Curve</translation>
    </message>
    <message>
        <source>Close Curve</source>
        <translation>Close Curve</translation>
    </message>
    <message>
        <source>Sensitivity</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <source>Data Curve</source>
        <translation>Data Curve</translation>
    </message>
    <message>
        <source>Setpoint Curve</source>
        <translation>Setpoint Curve</translation>
    </message>
    <message>
        <source>Pos Curve</source>
        <translation>Pos Curve</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Redraw</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>Print Diagram</source>
        <translation>Print Diagram</translation>
    </message>
    <message>
        <source>Export Diagram</source>
        <translation>Export Diagram</translation>
    </message>
    <message>
        <source>Clear Diagram</source>
        <translation>Clear Diagram</translation>
    </message>
    <message>
        <source>Choose Data</source>
        <translation>Choose Data</translation>
    </message>
    <message>
        <source>Show Key</source>
        <translation>Show Key</translation>
    </message>
    <message>
        <source>Hide Sensitivity</source>
        <translation>Hide Sensitivity</translation>
    </message>
    <message>
        <source>Show Sensitivity</source>
        <translation>Show Sensitivity</translation>
    </message>
    <message>
        <source>Hide Position</source>
        <translation>Hide Position</translation>
    </message>
    <message>
        <source>Show Position</source>
        <translation>Show Position</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>The file %1 could not be written.</translation>
    </message>
    <message>
        <source>Print failed</source>
        <translation>Print failed</translation>
    </message>
    <message>
        <source>Choose Data File</source>
        <translation>Choose Data File</translation>
    </message>
    <message>
        <source>Export failed</source>
        <translation>Export failed</translation>
    </message>
    <message>
        <source>Measurement Protocol</source>
        <translation>Measurement Protocol</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Made by</source>
        <translation>Made by</translation>
    </message>
    <message>
        <source>pi</source>
        <translation>pi</translation>
    </message>
    <message>
        <source>Valve Nr.</source>
        <translation>Valve Nr.</translation>
    </message>
    <message>
        <source>vvv</source>
        <translation>vvv</translation>
    </message>
    <message>
        <source>Spring Type</source>
        <translation>Spring Type</translation>
    </message>
    <message>
        <source>sss</source>
        <translation>sss</translation>
    </message>
    <message>
        <source>Valve Type</source>
        <translation>Valve Type</translation>
    </message>
    <message>
        <source>ttt</source>
        <translation>ttt</translation>
    </message>
    <message>
        <source>Annotation</source>
        <translation>Annotation</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Formula</source>
        <translation>Formula</translation>
    </message>
    <message>
        <source>Val1</source>
        <translation>Val1</translation>
    </message>
    <message>
        <source>Val2</source>
        <translation>Val2</translation>
    </message>
    <message>
        <source>Setpoint</source>
        <translation>Setpoint</translation>
    </message>
    <message>
        <source>Curve Type</source>
        <translation>Curve Type</translation>
    </message>
    <message>
        <source>Sensitivity Open Curve</source>
        <translation>Sensitivity Open Curve</translation>
    </message>
    <message>
        <source>Sensitivity Close Curve</source>
        <translation>Sensitivity Close Curve</translation>
    </message>
</context>
<context>
    <name>formManualTab</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Set Data</source>
        <translation>Set Data</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Set Steps</source>
        <translation>Set Steps</translation>
    </message>
    <message>
        <source>Set %1</source>
        <translation>Set %1</translation>
    </message>
    <message>
        <source>Number Conversion Error</source>
        <translation>Number Conversion Error</translation>
    </message>
    <message>
        <source>The data you set, could not be converted into a number. Probably you need to adjust the input mask of the sensor. Hint: Ust decimal point not decimal comma.</source>
        <translation>The data you set, could not be converted into a number. Probably you need to adjust the input mask of the sensor. Hint: Ust decimal point not decimal comma.</translation>
    </message>
</context>
<context>
    <name>formRemoteTab</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>USB</source>
        <translation>USB</translation>
    </message>
    <message>
        <source>Analog</source>
        <translation>Analog</translation>
    </message>
    <message>
        <source>Ethernet</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>Terminal</source>
        <translation>Terminal</translation>
    </message>
    <message>
        <source>USB Remote Mode</source>
        <translation>USB Remote Mode</translation>
    </message>
    <message>
        <source>Direct Connection</source>
        <translation>Direct Connection</translation>
    </message>
    <message>
        <source>varnix 2.7.2</source>
        <translation>varnix 2.7.2</translation>
    </message>
    <message>
        <source>Modbus</source>
        <translation>Modbus</translation>
    </message>
    <message>
        <source>Valve</source>
        <translation>Valve</translation>
    </message>
    <message>
        <source>Remote Source</source>
        <translation>Remote Source</translation>
    </message>
    <message>
        <source>Input 1</source>
        <translation>Input 1</translation>
    </message>
    <message>
        <source>Input 2</source>
        <translation>Input 2</translation>
    </message>
    <message>
        <source>Input 3</source>
        <translation>Input 3</translation>
    </message>
    <message>
        <source>Sampling</source>
        <translation>Sampling</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Input</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>mV</source>
        <translation>mV</translation>
    </message>
    <message>
        <source>match</source>
        <translation>match</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>Upper</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>Ethernet Remote Mode</source>
        <translation>Ethernet Remote Mode</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP Address</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>show local IP adresses</source>
        <translation>show local IP adresses</translation>
    </message>
    <message>
        <source>USB Remote is still connected. First disconnect it.</source>
        <translation>USB Remote is still connected. First disconnect it.</translation>
    </message>
    <message>
        <source>Analog Remote is still connected. First disconnect it.</source>
        <translation>Analog Remote is still connected. First disconnect it.</translation>
    </message>
    <message>
        <source>Remote is connected</source>
        <translation>Remote is connected</translation>
    </message>
    <message>
        <source>Feedback input</source>
        <translation>Feedback input</translation>
    </message>
    <message>
        <source>Input %1 is configured as Feedback %2, so it was not made the remote input. Choose another input or change its type on the settings page.</source>
        <translation>Input %1 is configured as Feedback %2, so it was not made the remote input. Choose another input or change its type on the settings page.</translation>
    </message>
    <message>
        <source>Possible Input Type Conflicts</source>
        <translation>Possible Input Type Conflicts</translation>
    </message>
    <message>
        <source>Please chekc the feedback inputs in the setting tab for possible conflicts.</source>
        <translation>Please chekc the feedback inputs in the setting tab for possible conflicts.</translation>
    </message>
    <message>
        <source>%1 Remote is still connected. The valve follows one remote source at a time: first disconnect it.</source>
        <translation>%1 Remote is still connected. The valve follows one remote source at a time: first disconnect it.</translation>
    </message>
    <message>
        <source>No remote mode</source>
        <translation>No remote mode</translation>
    </message>
    <message>
        <source>Choose a remote mode first.</source>
        <translation>Choose a remote mode first.</translation>
    </message>
    <message>
        <source>Invalid IP address</source>
        <translation>Invalid IP address</translation>
    </message>
    <message>
        <source>"%1" is not an IP address. Enter one of the panel's addresses, such as 192.168.0.10.</source>
        <translation>"%1" is not an IP address. Enter one of the panel's addresses, such as 192.168.0.10.</translation>
    </message>
    <message>
        <source>Invalid port</source>
        <translation>Invalid port</translation>
    </message>
    <message>
        <source>Enter a port number from 1 to 65535.</source>
        <translation>Enter a port number from 1 to 65535.</translation>
    </message>
    <message>
        <source>Input %1 is configured as Feedback %2 and cannot steer the valve. Choose another input or change its type on the settings page.</source>
        <translation>Input %1 is configured as Feedback %2 and cannot steer the valve. Choose another input or change its type on the settings page.</translation>
    </message>
    <message>
        <source>Local IP Addresses</source>
        <translation>Local IP Addresses</translation>
    </message>
    <message>
        <source>Yopur local IP addresses are:
%1</source>
        <translation>Yopur local IP addresses are:
%1</translation>
    </message>
</context>
<context>
    <name>formRemoteWatcher</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>USB - Remote</source>
        <translation>USB - Remote</translation>
    </message>
    <message>
        <source>Valve</source>
        <translation>Valve</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Inputs</source>
        <translation>Inputs</translation>
    </message>
    <message>
        <source>Analog 1</source>
        <translation>Analog 1</translation>
    </message>
    <message>
        <source>0,00</source>
        <translation>0,00</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Analog 2</source>
        <translation>Analog 2</translation>
    </message>
    <message>
        <source>Analog 3</source>
        <translation>Analog 3</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Output</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Output 1</translation>
    </message>
</context>
<context>
    <name>formScriptTab</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>The scripts folder %1 does not exist, so there are no scripts to show.</source>
        <translation>The scripts folder %1 does not exist, so there are no scripts to show.</translation>
    </message>
    <message>
        <source>These script files could not be read and are not listed:
%1</source>
        <translation>These script files could not be read and are not listed:
%1</translation>
    </message>
    <message>
        <source>Scripts</source>
        <translation>Scripts</translation>
    </message>
    <message>
        <source>Script Save</source>
        <translation>Script Save</translation>
    </message>
    <message>
        <source>Click ok to go on.</source>
        <translation>Click ok to go on.</translation>
    </message>
    <message>
        <source>Script changed</source>
        <translation>Script changed</translation>
    </message>
    <message>
        <source>do you want to save it?</source>
        <translation>do you want to save it?</translation>
    </message>
    <message>
        <source>"%1" cannot be a script name: it must not contain "/", "\", ";", ".." or control characters, nor begin with ".".</source>
        <translation>"%1" cannot be a script name: it must not contain "/", "\", ";", ".." or control characters, nor begin with ".".</translation>
    </message>
    <message>
        <source>There is already a script named "%1".</source>
        <translation>There is already a script named "%1".</translation>
    </message>
    <message>
        <source>The script "%1" could not be written to %2. Your changes are kept; the file on disk is unchanged.</source>
        <translation>The script "%1" could not be written to %2. Your changes are kept; the file on disk is unchanged.</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>A script needs a name: the name was not changed.</source>
        <translation>A script needs a name: the name was not changed.</translation>
    </message>
    <message>
        <source>New Script</source>
        <translation>New Script</translation>
    </message>
    <message>
        <source>All names from New Script0 to New Script998 are taken. Rename or delete one of these scripts first.</source>
        <translation>All names from New Script0 to New Script998 are taken. Rename or delete one of these scripts first.</translation>
    </message>
    <message>
        <source>The script "%1" could not be written to %2.</source>
        <translation>The script "%1" could not be written to %2.</translation>
    </message>
    <message>
        <source>The script file %1 could not be deleted.</source>
        <translation>The script file %1 could not be deleted.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>You cannot delete the last command</source>
        <translation>You cannot delete the last command</translation>
    </message>
    <message>
        <source>Script Changed</source>
        <translation>Script Changed</translation>
    </message>
    <message>
        <source>The script was changed.
It will not run until it is saved or the changes are cancelled.</source>
        <translation>The script was changed.
It will not run until it is saved or the changes are cancelled.</translation>
    </message>
    <message>
        <source>Script Finished</source>
        <translation>Script Finished</translation>
    </message>
    <message>
        <source>Do Script: Cmd %1 %2/%3 </source>
        <translation>Do Script: Cmd %1 %2/%3 </translation>
    </message>
    <message>
        <source>Do Script: Cmd %1 set to %2</source>
        <translation>Do Script: Cmd %1 set to %2</translation>
    </message>
    <message>
        <source>Do Script: Cmd %1</source>
        <translation>Do Script: Cmd %1</translation>
    </message>
    <message>
        <source>Do Script: Cmd %1 %2</source>
        <translation>Do Script: Cmd %1 %2</translation>
    </message>
    <message>
        <source>No scripts: hold +</source>
        <translation>No scripts: hold +</translation>
    </message>
    <message>
        <source>Script: %1 command texts not shown</source>
        <translation>Script: %1 command texts not shown</translation>
    </message>
</context>
<context>
    <name>formSettingsTab</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>Valve</source>
        <translation>Valve</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Diagram and Interface</source>
        <translation>Diagram and Interface</translation>
    </message>
    <message>
        <source>Test and Debug</source>
        <translation>Test and Debug</translation>
    </message>
    <message>
        <source>Clear Error</source>
        <translation>Clear Error</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Calibrate</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>Sampling rate of Inputs</source>
        <translation>Sampling rate of Inputs</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Continious Speed</source>
        <translation>Continious Speed</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Output 1</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>OK - Ready</source>
        <translation>OK - Ready</translation>
    </message>
    <message>
        <source>Moving</source>
        <translation>Moving</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Change Samba Password</source>
        <translation>Change Samba Password</translation>
    </message>
    <message>
        <source>execute Script</source>
        <translation>execute Script</translation>
    </message>
    <message>
        <source>Baudrate: 19200	Parity: Even
DataBits: 8 	Stop Bits: 1
FlowControl: None</source>
        <translation>Baudrate: 19200	Parity: Even
DataBits: 8 	Stop Bits: 1
FlowControl: None</translation>
    </message>
    <message>
        <source>Motor Port</source>
        <translation>Motor Port</translation>
    </message>
    <message>
        <source>Renote Port</source>
        <translation>Renote Port</translation>
    </message>
    <message>
        <source>Calibrate on Start</source>
        <translation>Calibrate on Start</translation>
    </message>
    <message>
        <source>Veriosn</source>
        <translation>Veriosn</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Export Settings</source>
        <translation>Export Settings</translation>
    </message>
    <message>
        <source>Import Settings</source>
        <translation>Import Settings</translation>
    </message>
    <message>
        <source>Recalculation and PID Values</source>
        <translation>Recalculation and PID Values</translation>
    </message>
    <message>
        <source>Relative Recalc</source>
        <translation>Relative Recalc</translation>
    </message>
    <message>
        <source>Times</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>TeachIn Curve Use</source>
        <translation>TeachIn Curve Use</translation>
    </message>
    <message>
        <source>Open Curve</source>
        <translation>Open Curve</translation>
    </message>
    <message>
        <source>Close Curve</source>
        <translation>Close Curve</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>Relative Diff</source>
        <translation>Relative Diff</translation>
    </message>
    <message>
        <source>Differential Value</source>
        <translation>Differential Value</translation>
    </message>
    <message>
        <source>Integral Value</source>
        <translation>Integral Value</translation>
    </message>
    <message>
        <source>Proportional Value</source>
        <translation>Proportional Value</translation>
    </message>
    <message>
        <source>Integral Quantity</source>
        <translation>Integral Quantity</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>No Sensor defined</source>
        <translation>No Sensor defined</translation>
    </message>
    <message>
        <source>Data Name</source>
        <translation>Data Name</translation>
    </message>
    <message>
        <source>N/A</source>
        <translation>N/A</translation>
    </message>
    <message>
        <source>Sonsor Formula</source>
        <translation>Sonsor Formula</translation>
    </message>
    <message>
        <source>Not N/A</source>
        <translation>Not N/A</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unit:</translation>
    </message>
    <message>
        <source>Input Mask</source>
        <translation>Input Mask</translation>
    </message>
    <message>
        <source>Feedback Input 1</source>
        <translation>Feedback Input 1</translation>
    </message>
    <message>
        <source>Input 1</source>
        <translation>Input 1</translation>
    </message>
    <message>
        <source>Input 2</source>
        <translation>Input 2</translation>
    </message>
    <message>
        <source>Input 3</source>
        <translation>Input 3</translation>
    </message>
    <message>
        <source>Upper</source>
        <translation>Upper</translation>
    </message>
    <message>
        <source>mV</source>
        <translation>mV</translation>
    </message>
    <message>
        <source>if above upper, then</source>
        <translation>if above upper, then</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Stay</source>
        <translation>Stay</translation>
    </message>
    <message>
        <source>Lower</source>
        <translation>Lower</translation>
    </message>
    <message>
        <source>if below lower, then</source>
        <translation>if below lower, then</translation>
    </message>
    <message>
        <source>Feedback Input 2</source>
        <translation>Feedback Input 2</translation>
    </message>
    <message>
        <source>Data File</source>
        <translation>Data File</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Pen Line Width</source>
        <translation>Pen Line Width</translation>
    </message>
    <message>
        <source>Show Sensitivity</source>
        <translation>Show Sensitivity</translation>
    </message>
    <message>
        <source>Choose Color</source>
        <translation>Choose Color</translation>
    </message>
    <message>
        <source>Time for Long Press</source>
        <translation>Time for Long Press</translation>
    </message>
    <message>
        <source>Setpoint</source>
        <translation>Setpoint</translation>
    </message>
    <message>
        <source>#.##E##;_</source>
        <translation>#.##E##;_</translation>
    </message>
    <message>
        <source>Run - SetData</source>
        <translation>Run - SetData</translation>
    </message>
    <message>
        <source>actual</source>
        <translation>actual</translation>
    </message>
    <message>
        <source>turn on debug</source>
        <translation>turn on debug</translation>
    </message>
    <message>
        <source>feed input 1</source>
        <translation>feed input 1</translation>
    </message>
    <message>
        <source>feed input 2</source>
        <translation>feed input 2</translation>
    </message>
    <message>
        <source>feed input 3</source>
        <translation>feed input 3</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>feed Setpouint Val1</source>
        <translation>feed Setpouint Val1</translation>
    </message>
    <message>
        <source>feed Setpouint Val2</source>
        <translation>feed Setpouint Val2</translation>
    </message>
    <message>
        <source>motor Send</source>
        <translation>motor Send</translation>
    </message>
    <message>
        <source>motor Driver CMD</source>
        <translation>motor Driver CMD</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Invalid value</source>
        <translation>Invalid value</translation>
    </message>
    <message>
        <source>%1: "%2" is not a usable number. The settings were not saved.</source>
        <translation>%1: "%2" is not a usable number. The settings were not saved.</translation>
    </message>
    <message>
        <source>%1: "%2" is not a usable number. The value was not changed.</source>
        <translation>%1: "%2" is not a usable number. The value was not changed.</translation>
    </message>
    <message>
        <source>Possible Input Type Conflicts</source>
        <translation>Possible Input Type Conflicts</translation>
    </message>
    <message>
        <source>Please check the analog input in the remote tab for possible conflicts.</source>
        <translation>Please check the analog input in the remote tab for possible conflicts.</translation>
    </message>
    <message>
        <source>The sensor folder %1 does not exist.</source>
        <translation>The sensor folder %1 does not exist.</translation>
    </message>
    <message>
        <source>A field holds a ";", which a sensor file cannot store.</source>
        <translation>A field holds a ";", which a sensor file cannot store.</translation>
    </message>
    <message>
        <source>The file %1 could not be written.</source>
        <translation>The file %1 could not be written.</translation>
    </message>
    <message>
        <source>Sensor not saved</source>
        <translation>Sensor not saved</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <translation>Nothing was changed.</translation>
    </message>
    <message>
        <source>Sensor exists</source>
        <translation>Sensor exists</translation>
    </message>
    <message>
        <source>A sensor with this Name already exists. It will not be saved.</source>
        <translation>A sensor with this Name already exists. It will not be saved.</translation>
    </message>
    <message>
        <source>Invalid sensor name</source>
        <translation>Invalid sensor name</translation>
    </message>
    <message>
        <source>A sensor name must not be empty, start with "." or hold "..", "/", "\", ";", control or invisible characters. It will not be saved.</source>
        <translation>A sensor name must not be empty, start with "." or hold "..", "/", "\", ";", control or invisible characters. It will not be saved.</translation>
    </message>
    <message>
        <source>A sensor with this Name already exists. The change will not be saved.</source>
        <translation>A sensor with this Name already exists. The change will not be saved.</translation>
    </message>
    <message>
        <source>A sensor name must not be empty, start with "." or hold "..", "/", "\", ";", control or invisible characters. The change will not be saved.</source>
        <translation>A sensor name must not be empty, start with "." or hold "..", "/", "\", ";", control or invisible characters. The change will not be saved.</translation>
    </message>
    <message>
        <source>Settings imported</source>
        <translation>Settings imported</translation>
    </message>
    <message>
        <source>The program restarts to use the imported settings.</source>
        <translation>The program restarts to use the imported settings.</translation>
    </message>
    <message>
        <source>Sensor not deleted</source>
        <translation>Sensor not deleted</translation>
    </message>
    <message>
        <source>The file %1 could not be removed. Nothing was changed.</source>
        <translation>The file %1 could not be removed. Nothing was changed.</translation>
    </message>
</context>
<context>
    <name>formStatusWidget</name>
    <message>
        <source>Form</source>
        <translation>Form</translation>
    </message>
    <message>
        <source>This is a tool tip</source>
        <translation>This is a tool tip</translation>
    </message>
    <message>
        <source>Status Message</source>
        <comment>sdfsdfsd</comment>
        <translation>Status Message</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>0000</source>
        <translation>0000</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>0,00</source>
        <translation>0,00</translation>
    </message>
    <message>
        <source>Unit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Pos</source>
        <translation>Pos</translation>
    </message>
    <message>
        <source>1000000</source>
        <translation>1000000</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Steps</translation>
    </message>
    <message>
        <source>I1</source>
        <translation>I1</translation>
    </message>
    <message>
        <source>Input 1</source>
        <translation>Input 1</translation>
    </message>
    <message>
        <source>5,35</source>
        <translation>5,35</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>I2</source>
        <translation>I2</translation>
    </message>
    <message>
        <source>3,12</source>
        <translation>3,12</translation>
    </message>
    <message>
        <source>I3</source>
        <translation>I3</translation>
    </message>
    <message>
        <source>0,25</source>
        <translation>0,25</translation>
    </message>
    <message>
        <source>O</source>
        <translation>O</translation>
    </message>
    <message>
        <source>5,0</source>
        <translation>5,0</translation>
    </message>
    <message>
        <source>LS</source>
        <translation>LS</translation>
    </message>
    <message>
        <source>0,0</source>
        <translation>0,0</translation>
    </message>
    <message>
        <source>10:15</source>
        <translation>10:15</translation>
    </message>
    <message>
        <source>Clear Error</source>
        <translation>Clear Error</translation>
    </message>
    <message>
        <source>Show Full Status</source>
        <translation>Show Full Status</translation>
    </message>
    <message>
        <source>Play Simulate</source>
        <translation>Play Simulate</translation>
    </message>
    <message>
        <source>Script</source>
        <translation>Script</translation>
    </message>
    <message>
        <source>Script Tab changed</source>
        <translation>Script Tab changed</translation>
    </message>
    <message>
        <source>Real Time Clock not working</source>
        <translation>Real Time Clock not working</translation>
    </message>
    <message>
        <source>
Real Time Clock not working</source>
        <translation>
Real Time Clock not working</translation>
    </message>
    <message>
        <source>Must Calibrate</source>
        <translation>Must Calibrate</translation>
    </message>
    <message>
        <source>Motor Position differs</source>
        <translation>Motor Position differs</translation>
    </message>
    <message>
        <source>Do you want to force the stored position to the valve or calibrate (=valve moves to close position)?
Motor Position = %1
Settings Position = %2</source>
        <translation>Do you want to force the stored position to the valve or calibrate (=valve moves to close position)?
Motor Position = %1
Settings Position = %2</translation>
    </message>
    <message>
        <source>Force</source>
        <translation>Force</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>Calibrate</translation>
    </message>
    <message>
        <source>Shutdown</source>
        <translation>Shutdown</translation>
    </message>
    <message>
        <source>Do you want to shutdown the valve?</source>
        <translation>Do you want to shutdown the valve?</translation>
    </message>
    <message>
        <source>What's This</source>
        <translation>What's This</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>kfxZENTU</source>
        <translation>kfxZENTU</translation>
    </message>
    <message>
        <source>Could not start Qt Assistant from %1.</source>
        <translation>Could not start Qt Assistant from %1.</translation>
    </message>
</context>
<context>
    <name>lvSensorDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Sensor Defintion</source>
        <translation>Sensor Defintion</translation>
    </message>
    <message>
        <source>Sensor Name</source>
        <translation>Sensor Name</translation>
    </message>
    <message>
        <source>Sonsor Formula</source>
        <translation>Sonsor Formula</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Unit:</translation>
    </message>
    <message>
        <source>Data Name</source>
        <translation>Data Name</translation>
    </message>
    <message>
        <source>Use Exponential Presentation</source>
        <translation>Use Exponential Presentation</translation>
    </message>
    <message>
        <source>Input Mask</source>
        <translation>Input Mask</translation>
    </message>
</context>
<context>
    <name>motorDriver</name>
    <message>
        <source>Measuring...
Feedback Boundary exceeded: closing</source>
        <translation>Measuring...
Feedback Boundary exceeded: closing</translation>
    </message>
    <message>
        <source>Measuring...
Feedback Boundary exceeded: opening</source>
        <translation>Measuring...
Feedback Boundary exceeded: opening</translation>
    </message>
    <message>
        <source>Measuring...
Feedback Boundary exceeded: staying</source>
        <translation>Measuring...
Feedback Boundary exceeded: staying</translation>
    </message>
    <message>
        <source>Measuring: </source>
        <translation>Measuring: </translation>
    </message>
    <message>
        <source>Measuring...</source>
        <translation>Measuring...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Positioning to %1</source>
        <translation>Positioning to %1</translation>
    </message>
    <message>
        <source>Motor Port Not Open</source>
        <translation>Motor Port Not Open</translation>
    </message>
    <message>
        <source>Reconnect:%1</source>
        <translation>Reconnect:%1</translation>
    </message>
    <message>
        <source>Incorrect Answer</source>
        <translation>Incorrect Answer</translation>
    </message>
    <message>
        <source>Pos Error</source>
        <translation>Pos Error</translation>
    </message>
    <message>
        <source>Waiting for Command</source>
        <translation>Waiting for Command</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>Busy</translation>
    </message>
    <message>
        <source>Limit Switch (LS) Reached</source>
        <translation>Limit Switch (LS) Reached</translation>
    </message>
    <message>
        <source>Remote Port Not Open</source>
        <translation>Remote Port Not Open</translation>
    </message>
    <message>
        <source>Continous Command not found</source>
        <translation>Continous Command not found</translation>
    </message>
    <message>
        <source>TeachIn Data not found</source>
        <translation>TeachIn Data not found</translation>
    </message>
    <message>
        <source>Must Calibrate Settings Pos: %1 &lt;--&gt; Motor Pos: %2</source>
        <translation>Must Calibrate Settings Pos: %1 &lt;--&gt; Motor Pos: %2</translation>
    </message>
    <message>
        <source>Position out of boundaries</source>
        <translation>Position out of boundaries</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>High Current TMC</source>
        <translation>High Current TMC</translation>
    </message>
    <message>
        <source>Error Position</source>
        <translation>Error Position</translation>
    </message>
    <message>
        <source>Internal Error</source>
        <translation>Internal Error</translation>
    </message>
    <message>
        <source>Driver Error</source>
        <translation>Driver Error</translation>
    </message>
    <message>
        <source>not an IP address</source>
        <translation>not an IP address</translation>
    </message>
    <message>
        <source>port must be 1..65535</source>
        <translation>port must be 1..65535</translation>
    </message>
</context>
<context>
    <name>panelAdministration</name>
    <message>
        <source>Choose Update File</source>
        <translation>Choose Update File</translation>
    </message>
    <message>
        <source>Copying...</source>
        <translation>Copying...</translation>
    </message>
    <message>
        <source>Export failed</source>
        <translation>Export failed</translation>
    </message>
    <message>
        <source>The teach-in file could not be copied.</source>
        <translation>The teach-in file could not be copied.</translation>
    </message>
    <message>
        <source>Installing the update...</source>
        <translation>Installing the update...</translation>
    </message>
    <message>
        <source>Updagte failed</source>
        <translation>Updagte failed</translation>
    </message>
    <message>
        <source>The update failed.</source>
        <translation>The update failed.</translation>
    </message>
    <message>
        <source>Updagte ready</source>
        <translation>Updagte ready</translation>
    </message>
    <message>
        <source>The update worked. Rebooting...</source>
        <translation>The update worked. Rebooting...</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Enter new Samba Password</source>
        <translation>Enter new Samba Password</translation>
    </message>
    <message>
        <source>Retype Password</source>
        <translation>Retype Password</translation>
    </message>
    <message>
        <source>Retype new Samba Password</source>
        <translation>Retype new Samba Password</translation>
    </message>
    <message>
        <source>Password not changed</source>
        <translation>Password not changed</translation>
    </message>
    <message>
        <source>The password was not retyped correctly.</source>
        <translation>The password was not retyped correctly.</translation>
    </message>
    <message>
        <source>The password must not contain control characters.</source>
        <translation>The password must not contain control characters.</translation>
    </message>
    <message>
        <source>Changing the password...</source>
        <translation>Changing the password...</translation>
    </message>
    <message>
        <source>Password changed</source>
        <translation>Password changed</translation>
    </message>
    <message>
        <source>The password was successfully changed.</source>
        <translation>The password was successfully changed.</translation>
    </message>
    <message>
        <source>The password was not changed.</source>
        <translation>The password was not changed.</translation>
    </message>
    <message>
        <source>Running the shell script...</source>
        <translation>Running the shell script...</translation>
    </message>
    <message>
        <source>Shell Script executed</source>
        <translation>Shell Script executed</translation>
    </message>
    <message>
        <source>The shell script %1 was executed. Return Code: %2</source>
        <translation>The shell script %1 was executed. Return Code: %2</translation>
    </message>
    <message>
        <source>Error: Shell Script not executed</source>
        <translation>Error: Shell Script not executed</translation>
    </message>
    <message>
        <source>Error: The shell script %1 was not executed. Return Code: %2</source>
        <translation>Error: The shell script %1 was not executed. Return Code: %2</translation>
    </message>
    <message>
        <source>Settings not exported</source>
        <translation>Settings not exported</translation>
    </message>
    <message>
        <source>Settings not imported</source>
        <translation>Settings not imported</translation>
    </message>
</context>
<context>
    <name>panelUpdate</name>
    <message>
        <source>The update folder could not be emptied.</source>
        <translation>The update folder could not be emptied.</translation>
    </message>
    <message>
        <source>The package could not be copied.</source>
        <translation>The package could not be copied.</translation>
    </message>
    <message>
        <source>The package could not be unpacked.</source>
        <translation>The package could not be unpacked.</translation>
    </message>
    <message>
        <source>The package holds no update script.</source>
        <translation>The package holds no update script.</translation>
    </message>
    <message>
        <source>The update script did not finish in time.</source>
        <translation>The update script did not finish in time.</translation>
    </message>
    <message>
        <source>The update script returned %1.</source>
        <translation>The update script returned %1.</translation>
    </message>
    <message>
        <source>sudo refused to run the update script: %1</source>
        <translation>sudo refused to run the update script: %1</translation>
    </message>
</context>
<context>
    <name>qLvCustomPlot</name>
    <message>
        <source>Hold to show context menu in %1 seconds</source>
        <translation>Hold to show context menu in %1 seconds</translation>
    </message>
</context>
<context>
    <name>qTblViewScript</name>
    <message>
        <source>Hold to start in %1 seconds</source>
        <translation>Hold to start in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to stop in %1 seconds</source>
        <translation>Hold to stop in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to add in %1 seconds</source>
        <translation>Hold to add in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to delete in %1 seconds</source>
        <translation>Hold to delete in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to move up in %1 seconds</source>
        <translation>Hold to move up in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to move down in %1 seconds</source>
        <translation>Hold to move down in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to save script in %1 seconds</source>
        <translation>Hold to save script in %1 seconds</translation>
    </message>
    <message>
        <source>Hold to edit in %1 seconds</source>
        <translation>Hold to edit in %1 seconds</translation>
    </message>
    <message>
        <source>Release to strat Scipt</source>
        <translation>Release to strat Scipt</translation>
    </message>
    <message>
        <source>Release to stop Scipt</source>
        <translation>Release to stop Scipt</translation>
    </message>
    <message>
        <source>Release to add</source>
        <translation>Release to add</translation>
    </message>
    <message>
        <source>Release to delete</source>
        <translation>Release to delete</translation>
    </message>
    <message>
        <source>Release to move up</source>
        <translation>Release to move up</translation>
    </message>
    <message>
        <source>Release to move down</source>
        <translation>Release to move down</translation>
    </message>
    <message>
        <source>Release to save script</source>
        <translation>Release to save script</translation>
    </message>
</context>
<context>
    <name>qlvMessageDialog</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>some Text</source>
        <translation>some Text</translation>
    </message>
</context>
<context>
    <name>qlvModbus</name>
    <message>
        <source>Modbus TCP not started: "%1" is not an IP address
</source>
        <translation>Modbus TCP not started: "%1" is not an IP address
</translation>
    </message>
    <message>
        <source>Modbus TCP not started: port %1 is not in 1..65535
</source>
        <translation>Modbus TCP not started: port %1 is not in 1..65535
</translation>
    </message>
    <message>
        <source> coil 0 set to 1 --&gt; Stop
</source>
        <translation> coil 0 set to 1 --&gt; Stop
</translation>
    </message>
    <message>
        <source> coil 1 set to 1 --&gt; Plus slow
</source>
        <translation> coil 1 set to 1 --&gt; Plus slow
</translation>
    </message>
    <message>
        <source> coil 2 set to 1 --&gt; Minus slow
</source>
        <translation> coil 2 set to 1 --&gt; Minus slow
</translation>
    </message>
    <message>
        <source> coil 3 set to 1 --&gt; Plus normal
</source>
        <translation> coil 3 set to 1 --&gt; Plus normal
</translation>
    </message>
    <message>
        <source> coil 4 set to 1 --&gt; Minus normal
</source>
        <translation> coil 4 set to 1 --&gt; Minus normal
</translation>
    </message>
    <message>
        <source> coil 5 set to 1 --&gt; Plus fast
</source>
        <translation> coil 5 set to 1 --&gt; Plus fast
</translation>
    </message>
    <message>
        <source> coil 6 set to 1 --&gt; Minus fast
</source>
        <translation> coil 6 set to 1 --&gt; Minus fast
</translation>
    </message>
    <message>
        <source> coil 0 set to 0 --&gt; nothing
</source>
        <translation> coil 0 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 1 set to 0 --&gt; nothing
</source>
        <translation> coil 1 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 2 set to 0 --&gt; nothing
</source>
        <translation> coil 2 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 3 set to 0 --&gt; nothing
</source>
        <translation> coil 3 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 4 set to 0 --&gt; nothing
</source>
        <translation> coil 4 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 5 set to 0 --&gt; nothing
</source>
        <translation> coil 5 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source> coil 6 set to 0 --&gt; nothing
</source>
        <translation> coil 6 set to 0 --&gt; nothing
</translation>
    </message>
    <message>
        <source>Coils received: </source>
        <translation>Coils received: </translation>
    </message>
    <message>
        <source> start feedback loop
</source>
        <translation> start feedback loop
</translation>
    </message>
    <message>
        <source> stop feedback loop
</source>
        <translation> stop feedback loop
</translation>
    </message>
    <message>
        <source> register 5 set to %1 --&gt; Feedback Val1 set to %2
</source>
        <translation> register 5 set to %1 --&gt; Feedback Val1 set to %2
</translation>
    </message>
    <message>
        <source> register 6 set to %1 --&gt; Feedback Val2 set to %2
</source>
        <translation> register 6 set to %1 --&gt; Feedback Val2 set to %2
</translation>
    </message>
    <message>
        <source> register 0 set to %1 and 1 set to %2 --&gt; Positon set to %3
</source>
        <translation> register 0 set to %1 and 1 set to %2 --&gt; Positon set to %3
</translation>
    </message>
    <message>
        <source>Modbus RTU not started: no serial port name
</source>
        <translation>Modbus RTU not started: no serial port name
</translation>
    </message>
    <message>
        <source>I1 set: %1
I2 set: %2
I3 set: %3</source>
        <translation>I1 set: %1
I2 set: %2
I3 set: %3</translation>
    </message>
    <message>
        <source>Position set to: %1</source>
        <translation>Position set to: %1</translation>
    </message>
</context>
<context>
    <name>scriptExecutor</name>
    <message>
        <source>time: %1/%2</source>
        <translation>time: %1/%2</translation>
    </message>
    <message>
        <source>reached: %1/3</source>
        <translation>reached: %1/3</translation>
    </message>
</context>
<context>
    <name>settingsTransfer</name>
    <message>
        <source>The file does not exist or cannot be read.</source>
        <translation>The file does not exist or cannot be read.</translation>
    </message>
    <message>
        <source>The file is not a settings file.</source>
        <translation>The file is not a settings file.</translation>
    </message>
    <message>
        <source>The file holds no settings groups of this valve.</source>
        <translation>The file holds no settings groups of this valve.</translation>
    </message>
    <message>
        <source>The settings could not be written.</source>
        <translation>The settings could not be written.</translation>
    </message>
</context>
</TS>
