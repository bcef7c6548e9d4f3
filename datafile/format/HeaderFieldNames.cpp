#include "HeaderFieldNames.h"

#include "DataFile.h"

namespace quor {

HRESULT dataFormatName(int32_t code, const char** name)
{
    static const char* const kNames[] = {"int", "discrete", "float", "long",
                                         "ulong", "double", "ascii", "blob"};
    if (code < 0 || code > formatBlob) {
        *name = "none";
        return E_FAIL;
    }
    *name = kNames[code];
    return S_OK;
}

HRESULT dataTypeName(int32_t code, const char** name)
{
    *name = code == typePeriodic ? "Periodic" : code == typeAsynchronous ? "Asynchronous" : "Unknown";
    return S_OK;
}

const char* byteOrderName(int32_t byteOrder)
{
    return byteOrder == 1 ? "Little Endian" : "Big Endian";
}

}  // namespace quor
