// Script hosts (JScript, VBScript by value) cannot pass the by-reference
// VARIANTs that out parameters need, so a call such as find(..., 0, 0, 1)
// would fail with a type mismatch. This fills every such out parameter that
// arrived by value with a temporary the method can write into and drops
// the temporaries after the call.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

class ScriptOutArgs {
public:
    ScriptOutArgs(ITypeInfo* typeInfo, DISPID member, const DISPPARAMS* params);
    ScriptOutArgs(const ScriptOutArgs&) = delete;
    ScriptOutArgs& operator=(const ScriptOutArgs&) = delete;
    ~ScriptOutArgs();

    // The parameters to pass on: the caller's own when nothing needed
    // patching.
    DISPPARAMS* params() { return patched_ ? &params_ : original_; }

private:
    void patch(const FUNCDESC& function);

    DISPPARAMS* original_;
    DISPPARAMS params_ = {};
    bool patched_ = false;
    std::vector<VARIANTARG> arguments_;
    std::vector<VARIANT> holders_;
};
