#include "PlotShiftDialog.h"

#include "DecimalSeconds.h"
#include "DialogTemplate.h"

namespace quor {

const char kShiftCaption[] = "Shift Lane";

namespace {

class ShiftDialog final : public DialogForm {
public:
    explicit ShiftDialog(int64_t& offset) : offset_(offset) {}

    bool run(HWND owner)
    {
        DialogTemplate form(kShiftCaption, 180, 52);
        form.label("Offset (seconds):", 8, 8, 64);
        form.edit(kShiftSecondsEdit, 74, 8, 98);
        form.button(IDOK, "OK", 66, 30, true);
        form.button(IDCANCEL, "Cancel", 122, 30, false);
        return DialogForm::run(owner, form);
    }

private:
    void show() override { SetDlgItemTextA(window(), kShiftSecondsEdit, decimalSecondsText(offset_).c_str()); }
    void take() override
    {
        const std::string complaint = shiftComplaint(dialogItemText(window(), kShiftSecondsEdit).c_str(), &offset_);
        if (complaint.empty())
            accept();
        else
            refuseItemText(window(), kShiftSecondsEdit, kShiftCaption, complaint);
    }

    int64_t& offset_;
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

// A cancelled dialog leaves the offset as it was: the form works on a copy.
bool askLaneShift(HWND owner, int64_t& offsetNs)
{
    if (const LaneShiftAnswer::Answer& answer = LaneShiftAnswer::current())
        return askAnswer(answer, offsetNs);
    int64_t typed = offsetNs;
    if (!ShiftDialog(typed).run(owner))
        return false;
    offsetNs = typed;
    return true;
}

}  // namespace quor
