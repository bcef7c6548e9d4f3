// Test access to QuorGrid.dll without the registry: LoadLibrary and
// DllGetClassObject, as COM itself would do.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "QuorGrid_h.h"

namespace quor {

// An owned BSTR; converts from and to wide strings for the assertions.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }

    operator BSTR() const { return value_; }
    BSTR* out()
    {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    bool isNull() const { return value_ == nullptr; }
    std::wstring text() const { return value_ ? std::wstring(value_, SysStringLen(value_)) : std::wstring(); }

private:
    BSTR value_ = nullptr;
};

Microsoft::WRL::ComPtr<IClassFactory> gridClassFactory();
Microsoft::WRL::ComPtr<IQuorGridControl> createGrid();
HMODULE gridModule();

// A fresh control per test, with helpers for the common calls.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HRESULT append(const wchar_t* row, const wchar_t* tag = L"", VARIANT_BOOL markEdited = VARIANT_FALSE);
    HRESULT headings(const wchar_t* text);
    std::wstring cell(LONG row, LONG column, HRESULT* result = nullptr);
    std::wstring nextRow(HRESULT* result = nullptr);
    // Every row string, in order, joined by '/'.
    std::wstring allRows();
    LONG rowCount();
    LONG selectedCount();
    LONG editedCount();

    Microsoft::WRL::ComPtr<IQuorGridControl> grid;
};

}  // namespace quor
