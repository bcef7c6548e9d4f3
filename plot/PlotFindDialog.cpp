#include "PlotFindDialog.h"

#include <utility>

#include "DialogTemplate.h"
#include "WindowProc.h"

namespace quor {

const char* const kFindConditionNames[4] = {"above", "below", "rising through", "falling through"};
const char kFindCaption[] = "Find";

namespace {

const int kLaneList = 1001;
const int kConditionList = 1002;
const int kValueEdit = 1003;
const int kDirectionList = 1004;
const char* const kDirectionNames[2] = {"Forward", "Backward"};

PlotFindAnswer::Answer& currentAnswer()
{
    static PlotFindAnswer::Answer answer;
    return answer;
}

void fillList(HWND dialog, int id, const std::vector<std::string>& items, int selected)
{
    for (const std::string& item : items)
        SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int listChoice(HWND dialog, int id)
{
    const LRESULT chosen = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    return chosen == CB_ERR ? 0 : static_cast<int>(chosen);
}

class FindDialog {
public:
    FindDialog(const std::vector<std::string>& labels, PlotFindChoice& choice) : labels_(labels), choice_(choice) {}

    bool run(HWND owner)
    {
        DialogTemplate form(kFindCaption, 220, 100);
        const char* captions[] = {"Lane:", "Condition:", "Value:", "Direction:"};
        for (short row = 0; row < 4; ++row)
            form.label(captions[row], 8, short(8 + 18 * row), 50);
        form.choices(kLaneList, 62, 8, 150);
        form.choices(kConditionList, 62, 26, 150);
        form.edit(kValueEdit, 62, 44, 150);
        form.choices(kDirectionList, 62, 62, 150);
        form.button(IDOK, "Find", 106, 80, true);
        form.button(IDCANCEL, "Cancel", 162, 80, false);
        return form.runModal(owner, &ownedDialogProc<FindDialog>, reinterpret_cast<LPARAM>(this)) == IDOK;
    }

    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM)
    {
        if (message == WM_INITDIALOG) {
            show();
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
            take();
        else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
            EndDialog(window_, IDCANCEL);
        return FALSE;
    }

private:
    void show()
    {
        fillList(window_, kLaneList, labels_, choice_.lane);
        fillList(window_, kConditionList, {std::begin(kFindConditionNames), std::end(kFindConditionNames)},
                 static_cast<int>(choice_.condition));
        SetDlgItemTextA(window_, kValueEdit, choice_.thresholdText.c_str());
        fillList(window_, kDirectionList, {std::begin(kDirectionNames), std::end(kDirectionNames)},
                 choice_.backward ? 1 : 0);
    }
    void take()
    {
        PlotFindChoice typed = choice_;
        typed.lane = listChoice(window_, kLaneList);
        typed.condition = static_cast<FindCondition>(listChoice(window_, kConditionList));
        typed.thresholdText = dialogItemText(window_, kValueEdit);
        typed.backward = listChoice(window_, kDirectionList) == 1;
        const std::string complaint = findValueComplaint(typed);
        if (!complaint.empty()) {
            refuseItemText(window_, kValueEdit, kFindCaption, complaint);
            return;
        }
        choice_ = typed;
        EndDialog(window_, IDOK);
    }

    HWND window_ = nullptr;
    const std::vector<std::string>& labels_;
    PlotFindChoice& choice_;
};

bool validLane(const std::vector<std::string>& labels, int lane)
{
    return lane >= 0 && lane < static_cast<int>(labels.size());
}

bool askAnswer(const PlotFindAnswer::Answer& answer, const std::vector<std::string>& labels, PlotFindChoice& choice)
{
    PlotFindChoice typed = choice;
    std::string complaint;
    for (;;) {
        if (!answer(labels, complaint, typed))
            return false;
        if (!validLane(labels, typed.lane))
            typed.lane = 0;
        complaint = findValueComplaint(typed);
        if (complaint.empty()) {
            choice = typed;
            return true;
        }
    }
}

}  // namespace

std::string findValueComplaint(PlotFindChoice& choice)
{
    choice.thresholdText = trimmedText(choice.thresholdText);
    if (parseFindThreshold(choice.thresholdText.c_str(), &choice.threshold))
        return std::string();
    return "The value must be a decimal number, such as 2.5, -40 or 1e-3.";
}

bool askPlotFind(HWND owner, const std::vector<std::string>& laneLabels, PlotFindChoice& choice)
{
    if (laneLabels.empty())
        return false;
    if (!validLane(laneLabels, choice.lane))
        choice.lane = 0;
    if (const PlotFindAnswer::Answer& answer = currentAnswer())
        return askAnswer(answer, laneLabels, choice);
    return FindDialog(laneLabels, choice).run(owner);
}

PlotFindAnswer::PlotFindAnswer(Answer answer) : previous_(std::exchange(currentAnswer(), std::move(answer))) {}

PlotFindAnswer::~PlotFindAnswer()
{
    currentAnswer() = std::move(previous_);
}

}  // namespace quor
