#include "PlotShiftDialog.h"

#include <utility>

#include "DecimalSeconds.h"
#include "DialogTemplate.h"
#include "WindowProc.h"

namespace quor {

const char kShiftCaption[] = "Shift Lane";

namespace {

const int kSecondsEdit = 1001;

LaneShiftAnswer::Answer& currentAnswer()
{
    static LaneShiftAnswer::Answer answer;
    return answer;
}

class ShiftDialog {
public:
    explicit ShiftDialog(int64_t offset) : offset_(offset) {}

    bool run(HWND owner)
    {
        DialogTemplate form(kShiftCaption, 180, 52);
        form.label("Offset (seconds):", 8, 8, 64);
        form.edit(kSecondsEdit, 74, 8, 98);
        form.button(IDOK, "OK", 66, 30, true);
        form.button(IDCANCEL, "Cancel", 122, 30, false);
        return form.runModal(owner, &ownedDialogProc<ShiftDialog>, reinterpret_cast<LPARAM>(this)) == IDOK;
    }
    int64_t offset() const { return offset_; }

    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM)
    {
        if (message == WM_INITDIALOG) {
            SetDlgItemTextA(window_, kSecondsEdit, decimalSecondsText(offset_).c_str());
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
            takeOffset();
        else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
            EndDialog(window_, IDCANCEL);
        return FALSE;
    }

private:
    void takeOffset()
    {
        const std::string complaint = shiftComplaint(dialogItemText(window_, kSecondsEdit).c_str(), &offset_);
        if (complaint.empty())
            EndDialog(window_, IDOK);
        else
            refuseItemText(window_, kSecondsEdit, kShiftCaption, complaint);
    }

    HWND window_ = nullptr;
    int64_t offset_;
};

bool askAnswer(const LaneShiftAnswer::Answer& answer, int64_t& offsetNs)
{
    std::string shown = decimalSecondsText(offsetNs);
    std::string complaint;
    for (;;) {
        std::string typed;
        if (!answer(shown, complaint, typed))
            return false;
        complaint = shiftComplaint(typed.c_str(), &offsetNs);
        if (complaint.empty())
            return true;
        shown = typed;
    }
}

}  // namespace

std::string shiftComplaint(const char* text, int64_t* ns)
{
    int64_t taken = 0;
    switch (parseDecimalSeconds(trimmedText(text).c_str(), &taken)) {
    case SecondsParse::ok:
        *ns = taken;
        return std::string();
    case SecondsParse::outOfRange:
        return "The offset must lie between -9223372036.854775808 and 9223372036.854775807 seconds.";
    case SecondsParse::finerThanNanosecond:
        return "The offset must be a whole number of nanoseconds: at most nine decimals.";
    default:
        return "The offset must be a number of seconds, such as 1.5 or -0.25.";
    }
}

bool parseShiftSeconds(const char* text, int64_t* ns)
{
    return shiftComplaint(text, ns).empty();
}

bool askLaneShift(HWND owner, int64_t& offsetNs)
{
    if (const LaneShiftAnswer::Answer& answer = currentAnswer())
        return askAnswer(answer, offsetNs);
    ShiftDialog dialog(offsetNs);
    if (!dialog.run(owner))
        return false;
    offsetNs = dialog.offset();
    return true;
}

LaneShiftAnswer::LaneShiftAnswer(Answer answer) : previous_(std::exchange(currentAnswer(), std::move(answer))) {}

LaneShiftAnswer::~LaneShiftAnswer()
{
    currentAnswer() = std::move(previous_);
}

}  // namespace quor
