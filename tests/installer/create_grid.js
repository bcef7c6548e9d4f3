// The installed grid, created by its ProgID as a script host does.
var grid = new ActiveXObject("QuorGrid.QuorGridControl.1");
grid.setColumnHeadings("Name|Value");
grid.appendRow("speed|12", false, "", false);
WScript.Echo("grid rows: " + grid.getNumberOfRows());
WScript.Quit(grid.getNumberOfRows() === 1 ? 0 : 1);
