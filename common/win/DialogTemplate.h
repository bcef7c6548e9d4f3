// A modal dialog laid out in memory: for the small boxes of libraries that
// link into a program and so have no resource script of their own.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quor {

// The items' window classes, as the dialog manager's predefined atoms.
enum class DialogItemClass : WORD { button = 0x0080, edit = 0x0081, label = 0x0082, comboBox = 0x0085 };

class DialogTemplate {
public:
    // A caption bar, a system menu and the shell's dialog font; sizes are
    // in dialog units.
    DialogTemplate(const std::string& caption, short width, short height);

    void add(DialogItemClass kind, DWORD style, int id, const std::string& text, short x, short y, short width,
             short height);
    void label(const std::string& text, short x, short y, short width);
    void edit(int id, short x, short y, short width);
    // A drop-down list of fixed choices.
    void choices(int id, short x, short y, short width);
    void button(int id, const std::string& text, short x, short y, bool isDefault);

    // DialogBoxIndirectParam with the template; the procedure gets `param`
    // at WM_INITDIALOG.
    INT_PTR runModal(HWND owner, DLGPROC procedure, LPARAM param) const;

private:
    void putText(const std::string& text);
    void align();

    std::vector<WORD> words_;  // a vector's storage is aligned well beyond the DWORD the template needs
};

// A modal form on a template: show() fills its items when it opens, take()
// reads them at OK and calls accept() when what was typed is taken;
// Cancel ends it.
class DialogForm {
public:
    virtual ~DialogForm() = default;
    // True when accepted.
    bool run(HWND owner, const DialogTemplate& form);

    void attachWindow(HWND window) { window_ = window; }
    void detachWindow() { window_ = nullptr; }
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    virtual void show() = 0;
    virtual void take() = 0;
    void accept() { EndDialog(window_, IDOK); }
    HWND window() const { return window_; }

private:
    HWND window_ = nullptr;
};

// The text of a dialog's item, however long.
std::string dialogItemText(HWND dialog, int id);
// The text without the blanks around it.
std::string trimmedText(const std::string& text);
// Says why the typed text was refused and puts the focus back on it,
// selected, so that the user corrects it in the dialog still open.
void refuseItemText(HWND dialog, int id, const std::string& caption, const std::string& complaint);

}  // namespace quor
