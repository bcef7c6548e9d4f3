' Drives the grid as a VBScript host does: every variable is a Variant and
' goes to the grid by reference, so the out parameters of find,
' getNextEditedRow and getNextDeletedRow arrive as references to Variants
' and must come back filled, with the declared types.
Option Explicit

Dim failures
failures = 0

Sub Check(what, actual, expected)
    If VarType(actual) <> VarType(expected) Then
        WScript.Echo "FAIL " & what & ": expected type " & VarType(expected) & ", got type " & VarType(actual)
        failures = failures + 1
    ElseIf actual <> expected Then
        WScript.Echo "FAIL " & what & ": expected [" & expected & "], got [" & actual & "]"
        failures = failures + 1
    End If
End Sub

Const SelectCell = 2

Dim grid
Set grid = CreateObject("QuorGrid.QuorGridControl.1")
grid.setColumnHeadings "Name|Value"
grid.appendRow "alpha|1", False, "a", False
grid.appendRow "beta|2", False, "b", True
grid.appendRow "gamma|3", False, "g", False
grid.appendRow "delta|4", False, "d", True

' find: the hit's row number and column come back in the variables; a miss
' leaves the numbers they held.
Dim r, c
grid.find "3", True, False, False, False, r, c, SelectCell
Check "find row", r, CLng(3)
Check "find column", c, CLng(1)
grid.resetFind
r = -1
c = -1
grid.find "omega", True, False, False, False, r, c, SelectCell
Check "a miss keeps the row", r, CLng(-1)
Check "a miss keeps the column", c, CLng(-1)
grid.resetFind

' Every edited row with its row string, tag and zero-based index; the
' variables hold a string and a number from the previous round each time.
grid.markRowAsEdited "a"
Dim rowStr, tagText, idx, walked
walked = ""
grid.resetToFirstEditedRow
Do
    grid.getNextEditedRow rowStr, tagText, idx
    If VarType(idx) <> vbLong Then
        Check "edited row index type", VarType(idx), vbLong
        Exit Do
    End If
    If idx < 0 Then Exit Do
    walked = walked & rowStr & "/" & tagText & "/" & idx & ";"
Loop
Check "edited rows", walked, "alpha|1/a/0;beta|2/b/1;delta|4/d/3;"
Check "after the last edited row", rowStr, ""
Check "after the last edited row, index", idx, CLng(-1)

' Variables that held an object or an array are cleared and refilled.
Dim other
Set other = CreateObject("QuorGrid.QuorGridControl.1")
Set rowStr = other
Set other = Nothing
tagText = Array(1, 2, 3)
Set idx = grid
grid.resetToFirstEditedRow
grid.getNextEditedRow rowStr, tagText, idx
Check "object replaced by the row string", rowStr, "alpha|1"
Check "array replaced by the tag", tagText, "a"
Check "object replaced by the index", idx, CLng(0)

' The deleted rows, walked until both strings come back empty.
grid.deleteRow "b", True
grid.deleteRow "g", True
walked = ""
grid.resetToFirstDeletedRow
Do
    grid.getNextDeletedRow rowStr, tagText
    If rowStr = "" Then Exit Do
    walked = walked & rowStr & "/" & tagText & ";"
Loop
Check "deleted rows", walked, "beta|2/b;gamma|3/g;"
Check "after the last deleted row, tag", tagText, ""

' The methods with a return value still work as functions.
Check "row count", grid.getNumberOfRows(), CLng(2)
grid.resetToFirstRow
Check "first row", grid.getNextRow(), "alpha|1"

If failures = 0 Then
    WScript.Echo "grid VBScript test: ok"
    WScript.Quit 0
End If
WScript.Echo "grid VBScript test: " & failures & " failure(s)"
WScript.Quit 1
