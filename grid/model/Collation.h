// How the grid compares and orders text. The model asks only through this
// interface; the platform's rules (the user's locale, the ANSI code page)
// live above the model and are put in place by the control's module.
#pragma once

#include <string>

namespace quor {

class Collation {
public:
    virtual ~Collation() = default;
    // Bytes whose bytewise order is the order of the texts.
    virtual std::string sortKey(const std::string& text) const = 0;
    virtual std::string upperCase(std::string text) const = 0;
    // Whether the rules hold the two texts equal, with and without case.
    virtual bool same(const std::string& a, const std::string& b) const = 0;
    virtual bool sameIgnoringCase(const std::string& a, const std::string& b) const = 0;
};

// Byte order and ASCII case: the rules until others are put in place.
const Collation& plainCollation();

// The rules in use by every grid of the process.
const Collation& collation();
// Puts `rules` in place for the process; they must outlive their use.
// nullptr puts the plain rules back.
void useCollation(const Collation* rules);

}  // namespace quor
