#include "Collation.h"

#include <algorithm>
#include <atomic>

namespace quor {

namespace {

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

class PlainCollation final : public Collation {
public:
    std::string sortKey(const std::string& text) const override { return text; }

    std::string upperCase(std::string text) const override
    {
        std::transform(text.begin(), text.end(), text.begin(), asciiUpper);
        return text;
    }

    bool same(const std::string& a, const std::string& b) const override { return a == b; }

    bool sameIgnoringCase(const std::string& a, const std::string& b) const override
    {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiUpper(x) == asciiUpper(y); });
    }
};

std::atomic<const Collation*> rulesInUse{nullptr};

}  // namespace

const Collation& plainCollation()
{
    static const PlainCollation rules;
    return rules;
}

const Collation& collation()
{
    const Collation* rules = rulesInUse.load(std::memory_order_acquire);
    return rules ? *rules : plainCollation();
}

void useCollation(const Collation* rules)
{
    rulesInUse.store(rules, std::memory_order_release);
}

}  // namespace quor
