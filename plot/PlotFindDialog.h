// Edit > Find...: which lane to search, for what (above, below, rising
// through or falling through a value) and which way from cursor A. The
// value is read as quordata find reads it, exactly. Tests answer it
// through PlotFindAnswer instead of the dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "FindThreshold.h"
#include "ScopedAnswer.h"
#include "SummaryTypes.h"

namespace quor {

struct PlotFindChoice {
    int lane = 0;  // index into the labels
    FindCondition condition = FindCondition::above;
    FindThreshold threshold;    // parsed from thresholdText when taken
    std::string thresholdText;  // as typed: shown again the next time
    bool backward = false;
};

// Shows choice (the last search) and gives the one taken; false when
// cancelled or when there is no lane. A value that is no number is said in
// a box and the dialog stays open.
bool askPlotFind(HWND owner, const std::vector<std::string>& laneLabels, PlotFindChoice& choice);

// Why the typed value is refused; empty when it is taken (choice.threshold set).
std::string findValueComplaint(PlotFindChoice& choice);

// The conditions as the dialog lists them, in FindCondition's order.
extern const char* const kFindConditionNames[4];
extern const char kFindCaption[];
// The dialog's items, for tests that drive it.
enum PlotFindItem : int { kFindLaneList = 1001, kFindConditionList, kFindValueEdit, kFindDirectionList };

// While one lives, askPlotFind shows no dialog: `answer` gets the labels,
// the complaint about the last choice it gave (empty at first) and the
// choice shown, and changes it (true) or cancels (false). It is asked
// again while its value is refused.
struct PlotFindTag;
using PlotFindAnswer = ScopedAnswer<PlotFindTag, std::function<bool(const std::vector<std::string>& laneLabels,
                                                                           const std::string& complaint,
                                                                           PlotFindChoice& choice)>>;

}  // namespace quor
