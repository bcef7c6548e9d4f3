#include "PlotFindDialog.h"

#include <iterator>

#include "DialogTemplate.h"

namespace quor {

const char* const kFindConditionNames[4] = {"above", "below", "rising through", "falling through"};
const char kFindCaption[] = "Find";

namespace {

const char* const kDirectionNames[2] = {"Forward", "Backward"};

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

class FindDialog final : public DialogForm {
public:
    FindDialog(const std::vector<std::string>& labels, PlotFindChoice& choice) : labels_(labels), choice_(choice) {}

    bool run(HWND owner)
    {
        DialogTemplate form(kFindCaption, 220, 100);
        const char* captions[] = {"Lane:", "Condition:", "Value:", "Direction:"};
        for (short row = 0; row < 4; ++row)
            form.label(captions[row], 8, short(8 + 18 * row), 50);
        form.choices(kFindLaneList, 62, 8, 150);
        form.choices(kFindConditionList, 62, 26, 150);
        form.edit(kFindValueEdit, 62, 44, 150);
        form.choices(kFindDirectionList, 62, 62, 150);
        form.button(IDOK, "Find", 106, 80, true);
        form.button(IDCANCEL, "Cancel", 162, 80, false);
        return DialogForm::run(owner, form);
    }

private:
    void show() override
    {
        fillList(window(), kFindLaneList, labels_, choice_.lane);
        fillList(window(), kFindConditionList, {std::begin(kFindConditionNames), std::end(kFindConditionNames)},
                 static_cast<int>(choice_.condition));
        SetDlgItemTextA(window(), kFindValueEdit, choice_.thresholdText.c_str());
        fillList(window(), kFindDirectionList, {std::begin(kDirectionNames), std::end(kDirectionNames)},
                 choice_.backward ? 1 : 0);
    }
    void take() override
    {
        PlotFindChoice typed = choice_;
        typed.lane = listChoice(window(), kFindLaneList);
        typed.condition = static_cast<FindCondition>(listChoice(window(), kFindConditionList));
        typed.thresholdText = dialogItemText(window(), kFindValueEdit);
        typed.backward = listChoice(window(), kFindDirectionList) == 1;
        const std::string complaint = findValueComplaint(typed);
        if (!complaint.empty()) {
            refuseItemText(window(), kFindValueEdit, kFindCaption, complaint);
            return;
        }
        choice_ = typed;
        accept();
    }

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
    if (const PlotFindAnswer::Answer& answer = PlotFindAnswer::current())
        return askAnswer(answer, laneLabels, choice);
    return FindDialog(laneLabels, choice).run(owner);
}

}  // namespace quor
