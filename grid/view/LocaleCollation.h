// The grid's text rules on Windows: sort keys of the thread locale, whose
// bytewise order is the order lstrcmpA gives the texts, and case in the
// ANSI code page. The control's module puts them in place when it loads.
#pragma once

#include "Collation.h"

namespace quor {

const Collation& localeCollation();

}  // namespace quor
