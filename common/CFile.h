// A C runtime FILE with one owner: closed when the owner goes. A writer
// that must know whether the close succeeded releases it and closes it
// itself.
#pragma once

#include <cstdio>
#include <memory>

namespace quor {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<FILE, FileCloser>;

}  // namespace quor
