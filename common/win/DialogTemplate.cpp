#include "DialogTemplate.h"

#include "WindowClass.h"
#include "WindowProc.h"
#include "Wide.h"

namespace quor {

namespace {

const WORD kFontPoints = 8;
const char kFontName[] = "MS Shell Dlg";
const short kLineHeight = 12;
const short kButtonWidth = 50;
const short kButtonHeight = 14;

void putWord(std::vector<WORD>& words, WORD word) { words.push_back(word); }

void putDword(std::vector<WORD>& words, DWORD value)
{
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

// The count of items sits at a fixed place of DLGTEMPLATE.
const size_t kItemCountWord = 4;

}  // namespace

DialogTemplate::DialogTemplate(const std::string& caption, short width, short height)
{
    putDword(words_, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    putDword(words_, 0);  // extended style
    putWord(words_, 0);   // items, counted as they are added
    for (short figure : {short(0), short(0), width, height})
        putWord(words_, WORD(figure));
    putWord(words_, 0);  // no menu
    putWord(words_, 0);  // the dialog class
    putText(caption);
    putWord(words_, kFontPoints);
    putText(kFontName);
}

void DialogTemplate::putText(const std::string& text)
{
    const std::wstring wide = wideFromAnsi(text);
    for (wchar_t c : wide)
        putWord(words_, WORD(c));
    putWord(words_, 0);
}

void DialogTemplate::align()
{
    if (words_.size() % 2)
        putWord(words_, 0);
}

void DialogTemplate::add(DialogItemClass kind, DWORD style, int id, const std::string& text, short x, short y,
                         short width, short height)
{
    align();
    putDword(words_, WS_CHILD | WS_VISIBLE | style);
    putDword(words_, 0);
    for (short figure : {x, y, width, height})
        putWord(words_, WORD(figure));
    putWord(words_, WORD(id));
    putWord(words_, 0xFFFF);
    putWord(words_, WORD(kind));
    putText(text);
    putWord(words_, 0);  // no creation data
    ++words_[kItemCountWord];
}

void DialogTemplate::label(const std::string& text, short x, short y, short width)
{
    add(DialogItemClass::label, SS_LEFT, -1, text, x, short(y + 2), width, kLineHeight - 2);
}

void DialogTemplate::edit(int id, short x, short y, short width)
{
    add(DialogItemClass::edit, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, id, "", x, y, width, kLineHeight);
}

void DialogTemplate::choices(int id, short x, short y, short width)
{
    // The height is the dropped list's.
    add(DialogItemClass::comboBox, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, id, "", x, y, width, 120);
}

void DialogTemplate::button(int id, const std::string& text, short x, short y, bool isDefault)
{
    add(DialogItemClass::button, WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), id, text, x, y,
        kButtonWidth, kButtonHeight);
}

INT_PTR DialogTemplate::runModal(HWND owner, DLGPROC procedure, LPARAM param) const
{
    return DialogBoxIndirectParamW(codeModule(), reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()), owner,
                                   procedure, param);
}

bool DialogForm::run(HWND owner, const DialogTemplate& form)
{
    return form.runModal(owner, &ownedDialogProc<DialogForm>, reinterpret_cast<LPARAM>(this)) == IDOK;
}

INT_PTR DialogForm::handleMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        show();
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    if (LOWORD(wParam) == IDOK)
        take();
    else if (LOWORD(wParam) == IDCANCEL)
        EndDialog(window_, IDCANCEL);
    return TRUE;
}

std::string dialogItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    const int length = item ? GetWindowTextLengthA(item) : 0;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, &text[0], length + 1)));
    return text;
}

std::string trimmedText(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

void refuseItemText(HWND dialog, int id, const std::string& caption, const std::string& complaint)
{
    MessageBoxA(dialog, complaint.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    // As the dialog manager moves the focus: an edit gets its text selected.
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

}  // namespace quor
