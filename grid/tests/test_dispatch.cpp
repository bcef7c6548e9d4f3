// The COM server surface: class factory, lock count, QueryInterface, the
// embedded type library and late-bound calls through IDispatch.
#include "GridDll.h"

#include <algorithm>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {

using CanUnloadNow = HRESULT(WINAPI*)();
using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

HRESULT canUnloadNow()
{
    auto canUnload = reinterpret_cast<CanUnloadNow>(
        reinterpret_cast<void*>(GetProcAddress(gridModule(), "DllCanUnloadNow")));
    return canUnload ? canUnload() : E_FAIL;
}

DISPID dispidOf(IDispatch* dispatch, const wchar_t* name)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

// Calls a method by name with the arguments given first to last.
HRESULT call(IDispatch* dispatch, const wchar_t* name, std::initializer_list<VARIANT> args, VARIANT* result)
{
    std::vector<VARIANT> reversed(args.begin(), args.end());
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return dispatch->Invoke(dispidOf(dispatch, name), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            result, nullptr, nullptr);
}

VARIANT longArg(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = value;
    return v;
}

VARIANT boolArg(bool value)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT textArg(const Bstr& text)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = text;
    return v;
}

}  // namespace

TEST(GridServer, FactoryServesOnlyTheGridClass)
{
    auto getClassObject = reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(gridModule(), "DllGetClassObject")));
    ASSERT_TRUE(getClassObject);
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IQuorGridControl, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_QuorGridControl, IID_PPV_ARGS(&factory)));
    ComPtr<IUnknown> outer;
    ComPtr<IUnknown> object;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.Get()), IID_PPV_ARGS(&object)));
}

TEST(GridServer, LockCountFollowsObjectsAndLockServer)
{
    ComPtr<IClassFactory> factory = gridClassFactory();
    ASSERT_TRUE(factory);
    EXPECT_EQ(S_OK, canUnloadNow());
    ComPtr<IQuorGridControl> grid;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_PPV_ARGS(&grid)));
    EXPECT_EQ(S_FALSE, canUnloadNow());
    grid.Reset();
    EXPECT_EQ(S_OK, canUnloadNow());
    factory->LockServer(TRUE);
    EXPECT_EQ(S_FALSE, canUnloadNow());
    factory->LockServer(FALSE);
    EXPECT_EQ(S_OK, canUnloadNow());
}

TEST_F(GridTest, QueryInterfaceAnswersTheGridInterfaces)
{
    ComPtr<IUnknown> unknown;
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(S_OK, grid.As(&unknown));
    EXPECT_EQ(S_OK, grid.As(&dispatch));
    ComPtr<IQuorGridControl> again;
    EXPECT_EQ(S_OK, unknown.As(&again));
    EXPECT_EQ(grid.Get(), again.Get());
    ComPtr<IClassFactory> wrong;
    EXPECT_EQ(E_NOINTERFACE, grid.As(&wrong));
}

TEST_F(GridTest, TypeLibraryDescribesTheInterface)
{
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, grid->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_EQ(IID_IQuorGridControl, attributes->guid);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE);
    info->ReleaseTypeAttr(attributes);

    // The vtable side of the dual interface: 63 methods after IDispatch.
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(S_OK, info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef));
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(vtableRef, &vtable));
    ASSERT_EQ(S_OK, vtable->GetTypeAttr(&attributes));
    EXPECT_EQ(63, attributes->cFuncs);
    vtable->ReleaseTypeAttr(attributes);
    const std::pair<UINT, DISPID> samples[] = {{0, 10}, {13, 34}, {55, 100}, {62, 140}};
    for (const auto& sample : samples) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, vtable->GetFuncDesc(sample.first, &function));
        EXPECT_EQ(sample.second, function->memid) << "method " << sample.first;
        EXPECT_EQ(static_cast<SHORT>((7 + sample.first) * sizeof(void*)), function->oVft);
        vtable->ReleaseFuncDesc(function);
    }

    ComPtr<ITypeLib> library;
    UINT index = 0;
    ASSERT_EQ(S_OK, info->GetContainingTypeLib(&library, &index));
    TLIBATTR* libraryAttributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&libraryAttributes));
    EXPECT_EQ(LIBID_QUORGRIDLib, libraryAttributes->guid);
    EXPECT_EQ(1, libraryAttributes->wMajorVerNum);
    EXPECT_EQ(0, libraryAttributes->wMinorVerNum);
    library->ReleaseTLibAttr(libraryAttributes);
    for (REFGUID guid : {CLSID_QuorGridControl, DIID__IQuorGridControlEvents}) {
        ComPtr<ITypeInfo> member;
        EXPECT_EQ(S_OK, library->GetTypeInfoOfGuid(guid, &member));
    }
    EXPECT_EQ(8u, library->GetTypeInfoCount());  // the 3 types above and 5 enumerations
}

TEST_F(GridTest, DispatchCallsByName)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, grid.As(&dispatch));
    EXPECT_EQ(20, dispidOf(dispatch.Get(), L"appendRow"));
    EXPECT_EQ(140, dispidOf(dispatch.Get(), L"AutoSizeEditBox"));

    Bstr headingText(L"Name|Value"), row(L"speed|12"), tag(L"s");
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, call(dispatch.Get(), L"setColumnHeadings", {textArg(headingText)}, &result));
    EXPECT_EQ(S_OK, call(dispatch.Get(), L"appendRow",
                         {textArg(row), boolArg(false), textArg(tag), boolArg(true)}, &result));
    ASSERT_EQ(S_OK, call(dispatch.Get(), L"getCellText", {longArg(1), longArg(1)}, &result));
    ASSERT_EQ(VT_BSTR, V_VT(&result));
    EXPECT_EQ(std::wstring(L"12"), V_BSTR(&result));
    VariantClear(&result);
    ASSERT_EQ(S_OK, call(dispatch.Get(), L"getNumberOfEditedRows", {}, &result));
    EXPECT_EQ(1, V_I4(&result));
}

TEST_F(GridTest, DispatchFillsOutParametersPassedByValue)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, grid.As(&dispatch));
    headings(L"A");
    append(L"alpha");
    append(L"beta");
    Bstr text(L"BETA");
    VARIANT result;
    VariantInit(&result);
    // As a script passes them: the row and column slots as plain numbers.
    EXPECT_EQ(S_OK, call(dispatch.Get(), L"find",
                         {textArg(text), boolArg(true), boolArg(false), boolArg(false), boolArg(false), longArg(0),
                          longArg(0), longArg(SelectRow)},
                         &result));
    EXPECT_EQ(1, selectedCount());
    Bstr selected;
    grid->resetToFirstSelectedRow();
    grid->getNextSelectedRow(selected.out());
    EXPECT_EQ(L"beta", selected.text());
}

TEST(GridServer, ModuleCarriesItsResources)
{
    HMODULE module = gridModule();
    ASSERT_TRUE(module);
    char name[32] = {};
    EXPECT_EQ(8, LoadStringA(module, 100, name, sizeof(name)));
    EXPECT_STREQ("QuorGrid", name);
    EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"));
    EXPECT_TRUE(FindResourceW(module, MAKEINTRESOURCEW(101), MAKEINTRESOURCEW(2)));  // RT_BITMAP

    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    DWORD handle = 0;
    std::vector<BYTE> version(GetFileVersionInfoSizeW(path, &handle));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(version.size()), version.data()));
    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } expected[] = {{L"FileDescription", L"QuorGrid Module"}, {L"FileVersion", L"1, 0, 0, 1"},
                    {L"OriginalFilename", L"QuorGrid.DLL"}, {L"OLESelfRegister", L""}};
    for (const auto& entry : expected) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + entry.key;
        ASSERT_TRUE(VerQueryValueW(version.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << query;
        EXPECT_EQ(std::wstring(entry.value), std::wstring(value)) << entry.key;
    }
}
