' The loop of the VoScript/VBScript comparison, the same as script_loop.vos.
Dim i, s
i = 0
s = 0
Do While i < 1000000
    i = i + 1
    s = s + i
Loop
WScript.Echo "result: " & s
