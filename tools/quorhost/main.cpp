// quorhost: a test container. Creates a control by ProgID in a top-level
// window, either through its own OLE site or in an "AtlAxWin" window, and
// keeps it sized to the window. --check prints the control's class and its
// window with the windows in it, for a hosting test to read.
//   quorhost [--atl] [--demo] [--check] [--exit-after MS] [ProgID]
#include "AtlAxHost.h"
#include "GdiHandles.h"
#include "OleHostSite.h"
#include "WindowProc.h"
#include "Wide.h"

#include <ole2.h>
#include <windows.h>
#include <commctrl.h>
#include <wrl/client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

const char kDefaultProgId[] = "QuorGrid.QuorGridControl.1";
const wchar_t kFrameClass[] = L"QuorHostFrame";
constexpr UINT_PTR kExitTimer = 1;

struct Options {
    bool atl = false;
    bool demo = false;
    bool check = false;
    UINT exitAfterMs = 0;
    std::wstring progId;
};

bool parseOptions(int argc, char** argv, Options& options)
{
    const char* progId = kDefaultProgId;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--atl") == 0)
            options.atl = true;
        else if (std::strcmp(argv[i], "--demo") == 0)
            options.demo = true;
        else if (std::strcmp(argv[i], "--check") == 0)
            options.check = true;
        else if (std::strcmp(argv[i], "--exit-after") == 0 && i + 1 < argc)
            options.exitAfterMs = static_cast<UINT>(std::strtoul(argv[++i], nullptr, 10));
        else if (argv[i][0] == '-')
            return false;
        else
            progId = argv[i];
    }
    options.progId = wideFromAnsi(std::string(progId));
    return true;
}

// Arguments for one late-bound call, given in the method's order.
class DispatchCall {
public:
    ~DispatchCall()
    {
        for (VARIANT& arg : args_)
            VariantClear(&arg);
    }
    DispatchCall& text(const wchar_t* value)
    {
        VARIANT& arg = next();
        arg.vt = VT_BSTR;
        arg.bstrVal = SysAllocString(value);
        return *this;
    }
    DispatchCall& number(long value)
    {
        VARIANT& arg = next();
        arg.vt = VT_I4;
        arg.lVal = value;
        return *this;
    }
    DispatchCall& flag(bool value)
    {
        VARIANT& arg = next();
        arg.vt = VT_BOOL;
        arg.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
        return *this;
    }
    HRESULT invoke(IDispatch* target, const wchar_t* name)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        HRESULT hr = target->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr)) {
            std::fprintf(stderr, "quorhost: no method %ls\n", name);
            return hr;
        }
        std::vector<VARIANT> reversed(args_.rbegin(), args_.rend());  // IDispatch takes them last first
        DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        VARIANT result;
        VariantInit(&result);
        hr = target->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        if (FAILED(hr))
            std::fprintf(stderr, "quorhost: %ls failed: 0x%08lx\n", name, static_cast<unsigned long>(hr));
        return hr;
    }

private:
    VARIANT& next()
    {
        args_.emplace_back();
        VariantInit(&args_.back());
        return args_.back();
    }
    std::vector<VARIANT> args_;
};

HWND controlWindowOf(IUnknown* control)
{
    ComPtr<IOleWindow> window;
    HWND handle = nullptr;
    if (control && SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&window))))
        window->GetWindow(&handle);
    return handle;
}

// A column selected the way a user does it: a Ctrl-click on its header
// item. A plain click would leave a column selection anchor, and with an
// anchor the grid deselects its rows at the next paint.
void ctrlClickHeaderItem(HWND control, int column)
{
    HWND header = FindWindowExA(control, nullptr, "QuorColumnHeaderObj", nullptr);
    RECT item{};
    if (!header || !SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item))) {
        std::fprintf(stderr, "quorhost: no header item %d\n", column);
        return;
    }
    const LPARAM centre = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, centre);
    SendMessageA(header, WM_LBUTTONUP, MK_CONTROL, centre);
}

// Something to look at: headings, rows, one selected row, one selected
// column, colour swatches.
void fillDemo(IUnknown* control)
{
    ComPtr<IDispatch> grid;
    if (!control || FAILED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(grid.GetAddressOf())))) {
        std::fprintf(stderr, "quorhost: the control has no IDispatch\n");
        return;
    }
    DispatchCall().text(L"Parameter|Value|Colour|Unit").invoke(grid.Get(), L"setColumnHeadings");
    DispatchCall().number(2).text(L"ddColorButton").text(L"").invoke(grid.Get(), L"setGuiComponent");
    DispatchCall().number(1).number(180).invoke(grid.Get(), L"setColumnWidth");
    // Every row has a unit: the grid leaves an empty last field blank, even
    // in a selected column.
    const wchar_t* rows[] = {
        L"Version|3|255|-", L"Tag Id|PUMP_17_PRESSURE|65280|-", L"Data Format|float|16711680|-",
        L"Sample Rate|1000|65535|Hz", L"Start Time|001:00:00:00.000000000|0|ddd:hh:mm:ss",
        L"Data Size|4|8421504|bytes",
    };
    for (const wchar_t* row : rows)
        DispatchCall().text(row).flag(false).text(row).flag(false).invoke(grid.Get(), L"appendRow");
    DispatchCall().number(3).number(1).invoke(grid.Get(), L"setRowSelect");
    ctrlClickHeaderItem(controlWindowOf(control), 3);
    DispatchCall().invoke(grid.Get(), L"redraw");
}

std::string windowClassName(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void describeControl(IUnknown* control)
{
    ComPtr<IPersist> persist;
    CLSID clsid{};
    wchar_t clsidText[40] = L"(unknown)";
    if (SUCCEEDED(control->QueryInterface(IID_PPV_ARGS(&persist))) && SUCCEEDED(persist->GetClassID(&clsid)))
        StringFromGUID2(clsid, clsidText, 40);
    std::printf("quorhost: class %ls\n", clsidText);
    const HWND window = controlWindowOf(control);
    if (!window) {
        std::printf("quorhost: no control window\n");
        return;
    }
    std::printf("quorhost: window %s\n", windowClassName(window).c_str());
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        std::printf("quorhost: child %s\n", windowClassName(child).c_str());
}

class HostApp {
public:
    explicit HostApp(const Options& options) : options_(options) {}

    bool start(HINSTANCE instance);
    int run();

private:
    friend LRESULT CALLBACK ownedWindowProc<HostApp>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { frame_ = window; }
    void detachWindow() { frame_ = nullptr; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT hostControl();
    HRESULT hostInAtlAxWin(const RECT& client, ComPtr<IUnknown>& control);
    HRESULT hostInOwnSite(const RECT& client, ComPtr<IUnknown>& control);
    void paint();
    void shutDown();

    Options options_;
    HWND frame_ = nullptr;
    ComPtr<OleHostSite> site_;
    std::unique_ptr<AtlAxLibrary> atl_;
    HWND atlWindow_ = nullptr;
};

bool HostApp::start(HINSTANCE instance)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ownedWindowProc<HostApp>;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    if (!RegisterClassExW(&wc))
        return false;
    const std::wstring title = L"quorhost - " + options_.progId + (options_.atl ? L" (AtlAxWin)" : L"");
    frame_ = CreateWindowExW(0, kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 720,
                             420, nullptr, nullptr, instance, this);
    if (!frame_)
        return false;
    ShowWindow(frame_, SW_SHOW);
    const HRESULT hr = hostControl();
    if (FAILED(hr)) {
        std::fprintf(stderr, "quorhost: cannot host %ls: 0x%08lx\n", options_.progId.c_str(),
                     static_cast<unsigned long>(hr));
        DestroyWindow(frame_);
        return false;
    }
    if (options_.exitAfterMs)
        SetTimer(frame_, kExitTimer, options_.exitAfterMs, nullptr);
    return true;
}

HRESULT HostApp::hostControl()
{
    RECT client{};
    GetClientRect(frame_, &client);
    ComPtr<IUnknown> control;
    const HRESULT hr = options_.atl ? hostInAtlAxWin(client, control) : hostInOwnSite(client, control);
    if (FAILED(hr))
        return hr;
    if (options_.demo)
        fillDemo(control.Get());
    std::printf("quorhost: hosted %ls%s\n", options_.progId.c_str(), options_.atl ? " in AtlAxWin" : "");
    if (options_.check)
        describeControl(control.Get());
    std::fflush(stdout);
    return S_OK;
}

HRESULT HostApp::hostInAtlAxWin(const RECT& client, ComPtr<IUnknown>& control)
{
    atl_ = std::make_unique<AtlAxLibrary>();
    if (!atl_->ready())
        return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    atlWindow_ = atl_->createHostWindow(frame_, options_.progId.c_str(), client);
    if (!atlWindow_)
        return HRESULT_FROM_WIN32(GetLastError());
    const HRESULT hr = atl_->getControl(atlWindow_, control.GetAddressOf());
    return SUCCEEDED(hr) && !control ? E_FAIL : hr;
}

HRESULT HostApp::hostInOwnSite(const RECT& client, ComPtr<IUnknown>& control)
{
    site_ = OleHostSite::make(frame_);
    if (!site_)
        return E_OUTOFMEMORY;
    HRESULT hr = site_->createControl(options_.progId.c_str());
    if (SUCCEEDED(hr))
        hr = site_->activate(client, OLEIVERB_UIACTIVATE);
    control = site_->control();
    return hr;
}

int HostApp::run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        IOleInPlaceActiveObject* active = site_ ? site_->activeObject() : nullptr;
        if (active && active->TranslateAccelerator(&msg) == S_OK)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void HostApp::paint()
{
    const PaintDC dc(frame_);
    // An inactive control is only a picture the container draws.
    if (site_ && site_->control() && !site_->inPlaceActive())
        site_->drawInactive(dc.get());
}

void HostApp::shutDown()
{
    if (site_) {
        site_->close();
        site_.Reset();
    }
    if (atlWindow_) {
        DestroyWindow(atlWindow_);
        atlWindow_ = nullptr;
    }
}

LRESULT HostApp::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND window = frame_;
    switch (message) {
    case WM_SIZE: {
        const RECT client{0, 0, LOWORD(lParam), HIWORD(lParam)};
        if (site_)
            site_->resize(client);
        if (atlWindow_)
            MoveWindow(atlWindow_, 0, 0, client.right, client.bottom, TRUE);
        return 0;
    }
    case WM_PAINT:
        paint();
        return 0;
    case WM_TIMER:
        if (wParam == kExitTimer)
            DestroyWindow(frame_);
        return 0;
    case WM_DESTROY:
        shutDown();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

}  // namespace quor

int main(int argc, char** argv)
{
    using namespace quor;
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: quorhost [--atl] [--demo] [--check] [--exit-after MS] [ProgID]\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) {
        std::fprintf(stderr, "quorhost: OleInitialize failed\n");
        return 1;
    }
    int result = 1;
    {
        HostApp app(options);
        if (app.start(GetModuleHandleW(nullptr)))
            result = app.run();
    }
    OleUninitialize();
    return result;
}
