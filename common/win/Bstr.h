// An owned BSTR: the strings a program passes to a COM call are allocated
// here and freed after it; the strings a call returns are taken over
// through out() and freed with the owner. Movable, with reset and release.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

#include "Text.h"

namespace quor {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
    explicit Bstr(const std::wstring& text)
        : value_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    explicit Bstr(const Text& text) : Bstr(text.toWide().c_str()) {}
    explicit Bstr(const char* text) : Bstr(Text(text)) {}
    ~Bstr() { reset(); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(other.release()) {}
    Bstr& operator=(Bstr&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    BSTR get() const { return value_; }
    // Frees the string held and hands out the place for a returned one.
    BSTR* out()
    {
        reset();
        return &value_;
    }
    BSTR release() { return std::exchange(value_, nullptr); }
    void reset(BSTR value = nullptr)
    {
        SysFreeString(value_);
        value_ = value;
    }
    // The text in the ANSI code page.
    Text text() const;

private:
    BSTR value_ = nullptr;
};

}  // namespace quor
