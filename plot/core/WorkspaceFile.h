// The `.quorWorkspace` file: the lanes of a plot workspace with how each is
// drawn and shifted, the view and the cursors, as lines of text:
//
//   QuorWorkspace 1
//   lane<TAB>lines|steps<TAB>separate|overlay<TAB>#RRGGBB<TAB>offset ns<TAB>path
//   view<TAB>from ns<TAB>to ns
//   cursor<TAB>A|B<TAB>time ns
//
// Fields are split by tabs, which no file path holds. Lanes come in order.
// A lane's path is relative to the workspace file's folder when the file
// lies in it or below it, so that a test's folder can move as a whole.
#pragma once

#include <string>
#include <vector>

#include "LaneList.h"
#include "PlotCursors.h"
#include "PlotView.h"

namespace quor {

extern const char kWorkspaceExtension[];  // ".quorWorkspace"

struct WorkspaceLane {
    LaneSettings settings;  // path absolute after reading
};

struct Workspace {
    std::vector<WorkspaceLane> lanes;
    bool hasView = false;
    TimeSpan view;
    PlotCursor a, b;
};

// Both separators and drive letters are understood on every platform, so a
// workspace written on one reads on the other.
bool isAbsolutePath(const std::string& path);
// The folder of a path: everything before its last separator ("" when none).
std::string folderOf(const std::string& path);
// The path relative to folder when it lies in it or below it, else "".
std::string pathBelow(const std::string& path, const std::string& folder);

std::string writeWorkspace(const Workspace& workspace, const std::string& workspacePath);
// False when the first line does not name the format (not a workspace).
// Lines that cannot be read are skipped and counted in *skipped (may be
// null); relative paths are made absolute against the workspace's folder.
bool readWorkspace(const std::string& text, const std::string& workspacePath, Workspace* out, int* skipped);
// False when the file cannot be read or is not a workspace.
bool loadWorkspaceFile(const std::string& path, Workspace* out, int* skipped);
// Written whole or not at all (the file it replaces stays).
bool saveWorkspaceFile(const std::string& path, const Workspace& workspace);

}  // namespace quor
