// The COM server surface: class factory, lock count, QueryInterface (the
// grid's own and the control interfaces), the embedded type library with
// every method's shape, and late-bound calls through IDispatch.
#include "GridDll.h"

#include <psapi.h>

#include <algorithm>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace quor {

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

struct MethodShape {
    const wchar_t* name;
    DISPID id;
    std::vector<VARTYPE> parameters;
};

// Every method in vtable order: its name, its DISPID and its parameter types
// (enumerations are user-defined types, OLE_COLOR arrives as its unsigned
// long, out parameters are pointers).
const std::vector<MethodShape>& methodShapes()
{
    static const std::vector<MethodShape> shapes = {
        {L"showRowButtons", 10, {VT_BOOL}},
        {L"appendRow", 20, {VT_BSTR, VT_BOOL, VT_BSTR, VT_BOOL}},
        {L"deleteRow", 21, {VT_BSTR, VT_BOOL}},
        {L"deleteAllRows", 22, {VT_BOOL}},
        {L"getNumberOfRows", 23, {VT_PTR}},
        {L"getNumberOfEditedRows", 24, {VT_PTR}},
        {L"resetToFirstRow", 25, {}},
        {L"getNextRow", 26, {VT_PTR}},
        {L"getRow", 27, {VT_BSTR, VT_PTR}},
        {L"resetToFirstEditedRow", 30, {}},
        {L"getNextEditedRow", 31, {VT_PTR, VT_PTR, VT_PTR}},
        {L"resetAllEditedRows", 32, {}},
        {L"markRowAsEdited", 33, {VT_BSTR}},
        {L"getNumberOfDeletedRows", 34, {}},
        {L"resetToFirstDeletedRow", 35, {}},
        {L"getNextDeletedRow", 36, {VT_PTR, VT_PTR}},
        {L"resetAllDeletedRows", 37, {}},
        {L"getNumberOfSelectedRows", 40, {VT_PTR}},
        {L"resetToFirstSelectedRow", 41, {}},
        {L"getNextSelectedRow", 42, {VT_PTR}},
        {L"getTagText", 43, {VT_I4, VT_PTR}},
        {L"setTagText", 44, {VT_I4, VT_BSTR}},
        {L"toggleRowHighlight", 45, {VT_I4}},
        {L"setRowVisibility", 50, {VT_I4, VT_BOOL}},
        {L"setRowSelect", 51, {VT_I4, VT_USERDEFINED}},
        {L"setRowSelectRange", 52, {VT_I4, VT_I4, VT_USERDEFINED}},
        {L"setSelected", 53, {VT_I4, VT_I4, VT_USERDEFINED, VT_BOOL}},
        {L"updateRow", 54, {VT_BSTR, VT_BSTR, VT_BOOL, VT_BOOL}},
        {L"SelectAllRows", 55, {}},
        {L"deselectAllRows", 56, {}},
        {L"appendBlankRows", 57, {VT_I4}},
        {L"setAllVisible", 58, {}},
        {L"rowIsVisible", 59, {VT_I4, VT_PTR}},
        {L"getCellText", 60, {VT_I4, VT_I4, VT_PTR}},
        {L"SetRowColor", 61, {VT_I4, VT_UI4}},
        {L"showColumnHeader", 65, {VT_BOOL}},
        {L"setColumnHeadings", 70, {VT_BSTR}},
        {L"SetColumnEditable", 71, {VT_I4, VT_BOOL}},
        {L"getNumberOfColumns", 72, {VT_PTR}},
        {L"getColumnHeading", 73, {VT_I4, VT_PTR}},
        {L"getColumnHeadingStr", 74, {VT_PTR}},
        {L"getColumnNumberByHeading", 75, {VT_BSTR, VT_PTR}},
        {L"deselectAllColumns", 76, {}},
        {L"autoResizeColumn", 77, {VT_I4}},
        {L"setColumnWidth", 78, {VT_I4, VT_I2}},
        {L"getColumnWidth", 79, {VT_I4, VT_PTR}},
        {L"redraw", 80, {}},
        {L"setGridFont", 81, {VT_PTR}},
        {L"setHeaderFont", 82, {VT_PTR}},
        {L"setGridBackgroundColor", 84, {VT_UI4, VT_BOOL}},
        {L"setGridLineColor", 85, {VT_UI4, VT_BOOL}},
        {L"sortGrid", 86, {VT_I4, VT_USERDEFINED}},
        {L"setEditability", 87, {VT_BOOL}},
        {L"setGuiComponent", 88, {VT_I4, VT_BSTR, VT_BSTR}},
        {L"setMenuOptionsSensitivity", 89, {VT_BSTR, VT_BOOL}},
        {L"find", 100, {VT_BSTR, VT_BOOL, VT_BOOL, VT_BOOL, VT_BOOL, VT_PTR, VT_PTR, VT_USERDEFINED}},
        {L"resetFind", 101, {}},
        {L"setGridLines", 110, {VT_USERDEFINED}},
        {L"setGridTextAlignment", 115, {VT_USERDEFINED}},
        {L"allowColumnReorder", 120, {VT_BOOL}},
        {L"setUpperLeftCell", 125, {VT_I4, VT_I4}},
        {L"CompleteEdit", 130, {}},
        {L"AutoSizeEditBox", 140, {VT_BOOL}},
    };
    return shapes;
}

void checkEveryMethod(ITypeInfo* vtable)
{
    const std::vector<MethodShape>& shapes = methodShapes();
    for (UINT i = 0; i < shapes.size(); ++i) {
        const MethodShape& shape = shapes[i];
        FUNCDESC* function = nullptr;
        ASSERT_EQ(S_OK, vtable->GetFuncDesc(i, &function));
        Bstr name;
        vtable->GetDocumentation(function->memid, name.out(), nullptr, nullptr, nullptr);
        EXPECT_EQ(std::wstring(shape.name), name.text()) << "method " << i;
        EXPECT_EQ(shape.id, function->memid) << shape.name;
        EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), function->oVft) << shape.name;
        std::vector<VARTYPE> types;
        for (SHORT p = 0; p < function->cParams; ++p)
            types.push_back(function->lprgelemdescParam[p].tdesc.vt);
        EXPECT_EQ(shape.parameters, types) << shape.name;
        vtable->ReleaseFuncDesc(function);
    }
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

TEST_F(GridTest, AnswersTheControlInterfacesAndNamesItsClassAndEvents)
{
    const IID* control[] = {
        &IID_IViewObjectEx, &IID_IViewObject2, &IID_IViewObject, &IID_IOleInPlaceObjectWindowless,
        &IID_IOleInPlaceObject, &IID_IOleWindow, &IID_IOleInPlaceActiveObject, &IID_IOleControl,
        &IID_IOleObject, &IID_IPersistStreamInit, &IID_IPersist, &IID_IConnectionPointContainer,
        &IID_ISpecifyPropertyPages, &IID_IQuickActivate, &IID_IPersistStorage, &IID_IDataObject,
        &IID_IProvideClassInfo, &IID_IProvideClassInfo2,
    };
    for (const IID* iid : control) {
        ComPtr<IUnknown> answer;
        EXPECT_EQ(S_OK, grid->QueryInterface(*iid, reinterpret_cast<void**>(answer.GetAddressOf())));
    }

    ComPtr<IProvideClassInfo2> classInfo;
    ASSERT_EQ(S_OK, grid.As(&classInfo));
    GUID events = GUID_NULL;
    EXPECT_EQ(S_OK, classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_EQ(DIID__IQuorGridControlEvents, events);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, classInfo->GetClassInfo(&coclass));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attributes));
    EXPECT_EQ(CLSID_QuorGridControl, attributes->guid);
    EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
    coclass->ReleaseTypeAttr(attributes);

    ComPtr<IConnectionPointContainer> points;
    ASSERT_EQ(S_OK, grid.As(&points));
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(S_OK, points->FindConnectionPoint(DIID__IQuorGridControlEvents, point.GetAddressOf()));
    ComPtr<IDispatch> sink;
    ASSERT_EQ(S_OK, grid.As(&sink));
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, point->Advise(sink.Get(), &cookie));
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
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
    checkEveryMethod(vtable.Get());

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

// ---- out parameters passed by reference, as VBScript and VBA pass them ----

namespace {

// A VARIANT variable of the caller, cleared on every path.
class Variable {
public:
    Variable() { VariantInit(&value_); }
    ~Variable() { VariantClear(&value_); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

    VARIANT* get() { return &value_; }
    // What VBScript passes for a variable: a reference to its Variant.
    VARIANT reference()
    {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&v) = &value_;
        return v;
    }
    VARTYPE type() const { return V_VT(&value_); }
    LONG number() const { return V_VT(&value_) == VT_I4 ? V_I4(&value_) : -999; }
    std::wstring text() const
    {
        return V_VT(&value_) == VT_BSTR && V_BSTR(&value_) ? std::wstring(V_BSTR(&value_)) : std::wstring(L"?");
    }
    void setText(const wchar_t* text)
    {
        VariantClear(&value_);
        V_VT(&value_) = VT_BSTR;
        V_BSTR(&value_) = SysAllocString(text);
    }

private:
    VARIANT value_;
};

// A COM object that counts its references, to see a cleared Variant let go
// of it.
class CountedObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (riid != IID_IUnknown)
            return *object = nullptr, E_NOINTERFACE;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};

SIZE_T privateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

class DispatchReferenceTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        ASSERT_EQ(S_OK, grid.As(&dispatch));
        headings(L"Name|Value");
        append(L"alpha|1", L"a", VARIANT_TRUE);
        append(L"beta|2", L"b");
        append(L"gamma|3", L"g", VARIANT_TRUE);
    }

    HRESULT invoke(const wchar_t* name, std::initializer_list<VARIANT> args)
    {
        Variable result;
        return call(dispatch.Get(), name, args, result.get());
    }
    // One edited row as "row/tag/index", read through VARIANT references.
    std::wstring nextEdited(Variable& rowStr, Variable& tag, Variable& index)
    {
        if (invoke(L"getNextEditedRow", {rowStr.reference(), tag.reference(), index.reference()}) != S_OK)
            return L"failed";
        return rowStr.text() + L"/" + tag.text() + L"/" + std::to_wstring(index.number());
    }

    ComPtr<IDispatch> dispatch;
};

}  // namespace

TEST_F(DispatchReferenceTest, FindFillsVariantReferencesAndAMissKeepsTheirNumbers)
{
    Variable row, column;
    Bstr text(L"3");
    EXPECT_EQ(S_OK, invoke(L"find", {textArg(text), boolArg(true), boolArg(false), boolArg(false), boolArg(false),
                                     row.reference(), column.reference(), longArg(SelectCell)}));
    ASSERT_EQ(VT_I4, row.type());
    EXPECT_EQ(3, row.number());
    EXPECT_EQ(1, column.number());

    grid->resetFind();
    V_VT(row.get()) = VT_I2;  // what VBScript keeps for "r = -1"
    V_I2(row.get()) = -1;
    Bstr missing(L"omega");
    EXPECT_EQ(S_OK, invoke(L"find", {textArg(missing), boolArg(true), boolArg(false), boolArg(false),
                                     boolArg(false), row.reference(), column.reference(), longArg(SelectCell)}));
    EXPECT_EQ(-1, row.number());
    EXPECT_EQ(1, column.number());
}

TEST_F(DispatchReferenceTest, EditedAndDeletedRowsWalkThroughVariantReferences)
{
    Variable rowStr, tag, index;
    rowStr.setText(L"held before");  // the string it held is freed, not leaked or kept
    grid->resetToFirstEditedRow();
    EXPECT_EQ(L"alpha|1/a/0", nextEdited(rowStr, tag, index));
    EXPECT_EQ(L"gamma|3/g/2", nextEdited(rowStr, tag, index));
    EXPECT_EQ(L"//-1", nextEdited(rowStr, tag, index));

    grid->deleteRow(Bstr(L"b"), VARIANT_TRUE);
    grid->resetToFirstDeletedRow();
    EXPECT_EQ(S_OK, invoke(L"getNextDeletedRow", {rowStr.reference(), tag.reference()}));
    EXPECT_EQ(L"beta|2", rowStr.text());
    EXPECT_EQ(L"b", tag.text());
    invoke(L"getNextDeletedRow", {rowStr.reference(), tag.reference()});
    EXPECT_EQ(L"", rowStr.text());
    EXPECT_EQ(L"", tag.text());
}

TEST_F(DispatchReferenceTest, ObjectsAndArraysInTheVariablesAreReleased)
{
    CountedObject object;
    Variable rowStr, tag, index;
    V_VT(rowStr.get()) = VT_UNKNOWN;
    V_UNKNOWN(rowStr.get()) = &object;
    object.AddRef();
    SAFEARRAYBOUND bounds = {3, 0};
    V_VT(tag.get()) = VT_ARRAY | VT_I4;
    V_ARRAY(tag.get()) = SafeArrayCreate(VT_I4, 1, &bounds);
    grid->resetToFirstEditedRow();
    EXPECT_EQ(L"alpha|1/a/0", nextEdited(rowStr, tag, index));
    EXPECT_EQ(1u, object.references);
}

TEST_F(DispatchReferenceTest, TypedReferencesStillGoStraightThrough)
{
    // What VBA passes for "Dim r As Long" and "Dim s As String".
    LONG row = 0, column = 0, index = 0;
    BSTR rowStr = nullptr, tag = nullptr;
    auto reference = [](VARTYPE type, void* target) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = static_cast<VARTYPE>(VT_BYREF | type);
        V_BYREF(&v) = target;
        return v;
    };
    Bstr text(L"beta");
    invoke(L"find", {textArg(text), boolArg(true), boolArg(false), boolArg(false), boolArg(false),
                     reference(VT_I4, &row), reference(VT_I4, &column), longArg(SelectCell)});
    EXPECT_EQ(2, row);
    EXPECT_EQ(0, column);
    grid->resetToFirstEditedRow();
    EXPECT_EQ(S_OK, invoke(L"getNextEditedRow",
                           {reference(VT_BSTR, &rowStr), reference(VT_BSTR, &tag), reference(VT_I4, &index)}));
    EXPECT_EQ(std::wstring(L"alpha|1"), rowStr ? rowStr : L"");
    EXPECT_EQ(std::wstring(L"a"), tag ? tag : L"");
    EXPECT_EQ(0, index);
    SysFreeString(rowStr);
    SysFreeString(tag);
}

TEST_F(DispatchReferenceTest, TenThousandEditedRowReadsKeepMemoryFlat)
{
    // Long rows, so that one string lost per call would add megabytes.
    const std::wstring longRow(400, L'x');
    grid->deleteAllRows(VARIANT_FALSE);
    append(longRow.c_str(), L"long tag", VARIANT_TRUE);
    Variable rowStr, tag, index;
    auto readMany = [&](int times) {
        for (int i = 0; i < times; ++i) {
            grid->resetToFirstEditedRow();
            invoke(L"getNextEditedRow", {rowStr.reference(), tag.reference(), index.reference()});
        }
    };
    readMany(100);  // the string cache and the heap settle first
    const SIZE_T before = privateBytes();
    readMany(10000);
    const SIZE_T after = privateBytes();
    EXPECT_EQ(longRow, rowStr.text());
    EXPECT_LT(after, before + 512 * 1024) << "grew by " << (after - before) << " bytes";
}

}  // namespace quor
