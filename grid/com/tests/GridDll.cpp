#include "GridDll.h"

using Microsoft::WRL::ComPtr;

namespace quor {

HMODULE gridModule()
{
    static HMODULE module = LoadLibraryW(L"QuorGrid.dll");
    return module;
}

ComPtr<IClassFactory> gridClassFactory()
{
    ComPtr<IClassFactory> factory;
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(gridModule(), "DllGetClassObject")));
    if (getClassObject)
        getClassObject(CLSID_QuorGridControl, IID_PPV_ARGS(&factory));
    return factory;
}

ComPtr<IQuorGridControl> createGrid()
{
    ComPtr<IQuorGridControl> grid;
    ComPtr<IClassFactory> factory = gridClassFactory();
    if (factory)
        factory->CreateInstance(nullptr, IID_PPV_ARGS(&grid));
    return grid;
}

void GridTest::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    grid = createGrid();
    ASSERT_TRUE(grid);
}

void GridTest::TearDown()
{
    grid.Reset();
    CoUninitialize();
}

HRESULT GridTest::append(const wchar_t* row, const wchar_t* tag, VARIANT_BOOL markEdited)
{
    Bstr rowText(row), tagText(tag);
    return grid->appendRow(rowText, VARIANT_FALSE, tagText, markEdited);
}

HRESULT GridTest::headings(const wchar_t* text)
{
    Bstr value(text);
    return grid->setColumnHeadings(value);
}

std::wstring GridTest::cell(LONG row, LONG column, HRESULT* result)
{
    Bstr text;
    HRESULT hr = grid->getCellText(row, column, text.out());
    if (result)
        *result = hr;
    return text.text();
}

std::wstring GridTest::nextRow(HRESULT* result)
{
    Bstr text;
    HRESULT hr = grid->getNextRow(text.out());
    if (result)
        *result = hr;
    return text.text();
}

std::wstring GridTest::allRows()
{
    std::wstring joined;
    grid->resetToFirstRow();
    HRESULT hr;
    for (std::wstring row = nextRow(&hr); hr == S_OK; row = nextRow(&hr))
        joined += (joined.empty() ? L"" : L"/") + row;
    return joined;
}

LONG GridTest::rowCount()
{
    LONG count = -1;
    grid->getNumberOfRows(&count);
    return count;
}

LONG GridTest::selectedCount()
{
    LONG count = -1;
    grid->getNumberOfSelectedRows(&count);
    return count;
}

LONG GridTest::editedCount()
{
    LONG count = -1;
    grid->getNumberOfEditedRows(&count);
    return count;
}

}  // namespace quor
