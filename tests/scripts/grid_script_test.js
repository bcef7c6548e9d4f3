// Drives the grid control the way a script host does: created by its
// ProgID, every call late-bound by name through IDispatch.
var failures = 0;

function check(what, actual, expected) {
    if (actual !== expected) {
        WScript.Echo("FAIL " + what + ": expected [" + expected + "], got [" + actual + "]");
        failures++;
    }
}

var SelectRow = 1, Ascending = 2, Descending = 3, SortNone = 1;

var grid = new ActiveXObject("QuorGrid.QuorGridControl.1");

grid.setColumnHeadings("Name|Value|Units  ");
check("column count", grid.getNumberOfColumns(), 3);
check("heading keeps its blanks", grid.getColumnHeading(2), "Units  ");
check("heading string", grid.getColumnHeadingStr(), "Name|Value|Units  ");
check("column by heading", grid.getColumnNumberByHeading("VALUE"), 1);
check("initial width", grid.getColumnWidth(0), 56);

grid.appendRow("speed|12|m/s", false, "spd", true);
grid.appendRow("altitude|9|m", false, "alt", false);
grid.appendRow("mass|100|kg", false, "mas", true);
check("row count", grid.getNumberOfRows(), 3);
check("cell text", grid.getCellText(1, 1), "12");
check("row by tag", grid.getRow("ALT"), "altitude|9|m");
check("tag by index", grid.getTagText(2), "mas");
check("edited rows", grid.getNumberOfEditedRows(), 2);

grid.updateRow("speed|13|m/s", "SPD", false, false);
check("update clears the edited mark", grid.getNumberOfEditedRows(), 1);
grid.markRowAsEdited("alt");
check("marked edited", grid.getNumberOfEditedRows(), 2);

grid.resetToFirstRow();
check("first row", grid.getNextRow(), "speed|13|m/s");
check("second row", grid.getNextRow(), "altitude|9|m");

// The row and column out parameters cannot be passed by a script; the hit
// shows in the selection instead.
grid.find("MASS", true, false, false, false, 0, 0, SelectRow);
check("find selects the hit row", grid.getNumberOfSelectedRows(), 1);
grid.resetToFirstSelectedRow();
check("found row", grid.getNextSelectedRow(), "mass|100|kg");
grid.resetFind();
check("resetFind deselects", grid.getNumberOfSelectedRows(), 0);

grid.sortGrid(1, Ascending);
check("numeric sort, first", grid.getCellText(1, 1), "9");
check("numeric sort, last", grid.getCellText(3, 1), "100");
grid.sortGrid(1, SortNone);
check("toggle reverses", grid.getCellText(1, 1), "100");
grid.sortGrid(0, Descending);
check("text sort", grid.getCellText(1, 0), "speed");

grid.setRowSelectRange(1, 2, 1);
check("range selected", grid.getNumberOfSelectedRows(), 2);
// resetFind flipped the select-all toggle, so this call selects every row.
grid.SelectAllRows();
check("select all after resetFind", grid.getNumberOfSelectedRows(), 3);
grid.SelectAllRows();
check("select all again deselects", grid.getNumberOfSelectedRows(), 0);

grid.deleteRow("spd", true);
check("deleted", grid.getNumberOfRows(), 2);
grid.deleteAllRows(true);
check("all deleted", grid.getNumberOfRows(), 0);
check("no row after the end", grid.getNextRow(), "");

if (failures == 0)
    WScript.Echo("grid script test: ok");
WScript.Quit(failures == 0 ? 0 : 1);
