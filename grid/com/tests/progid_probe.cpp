// Creates the grid by its ProgID, as a host does, and checks that the
// registered type library loads. Exit code 0 when both work.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <cstdio>

#include "QuorGrid_h.h"

using Microsoft::WRL::ComPtr;

namespace quor {

namespace {

int fail(const char* what, HRESULT hr)
{
    std::printf("progid_probe: %s failed (0x%08lx)\n", what, static_cast<unsigned long>(hr));
    return 1;
}

int probe()
{
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(L"QuorGrid.QuorGridControl.1", &clsid);
    if (FAILED(hr))
        return fail("CLSIDFromProgID", hr);
    if (clsid != CLSID_QuorGridControl)
        return fail("ProgID maps to the wrong class", E_FAIL);
    ComPtr<IQuorGridControl> grid;
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&grid));
    if (FAILED(hr))
        return fail("CoCreateInstance", hr);
    BSTR headings = SysAllocString(L"A|B|C");
    hr = grid->setColumnHeadings(headings);
    SysFreeString(headings);
    LONG columns = 0;
    grid->getNumberOfColumns(&columns);
    if (hr != S_OK || columns != 3)
        return fail("setColumnHeadings on the created control", hr);
    ComPtr<ITypeLib> typeLib;
    hr = LoadRegTypeLib(LIBID_QUORGRIDLib, 1, 0, LOCALE_NEUTRAL, &typeLib);
    if (FAILED(hr))
        return fail("LoadRegTypeLib", hr);
    std::printf("progid_probe: ok\n");
    return 0;
}

}  // namespace

}  // namespace quor

int main()
{
    using namespace quor;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    const int result = probe();
    CoUninitialize();
    return result;
}
