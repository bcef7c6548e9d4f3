#include "LocaleCollation.h"

#include <windows.h>

#include "Wide.h"

namespace quor {

namespace {

class LocaleCollation final : public Collation {
public:
    std::string sortKey(const std::string& text) const override
    {
        const std::wstring wide = wideFromAnsi(text);
        const LCID locale = GetThreadLocale();
        const int wideLength = static_cast<int>(wide.size());
        std::string key(
            static_cast<size_t>(LCMapStringW(locale, LCMAP_SORTKEY, wide.c_str(), wideLength, nullptr, 0)), '\0');
        if (!key.empty())
            LCMapStringW(locale, LCMAP_SORTKEY, wide.c_str(), wideLength, reinterpret_cast<LPWSTR>(&key[0]),
                         static_cast<int>(key.size()));
        return key;
    }

    std::string upperCase(std::string text) const override
    {
        if (!text.empty())
            CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
        return text;
    }

    bool same(const std::string& a, const std::string& b) const override
    {
        return lstrcmpA(a.c_str(), b.c_str()) == 0;
    }

    bool sameIgnoringCase(const std::string& a, const std::string& b) const override
    {
        return _stricmp(a.c_str(), b.c_str()) == 0;
    }
};

}  // namespace

const Collation& localeCollation()
{
    static const LocaleCollation rules;
    return rules;
}

}  // namespace quor
