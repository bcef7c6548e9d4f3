// Script hosts cannot always pass the by-reference VARIANTs of the declared
// type that out parameters need: JScript passes plain values (find(..., 0,
// 0, 1)) and VBScript passes its variables as references to VARIANTs. Either
// would fail with a type mismatch. This gives every such out parameter a
// temporary of the declared type the method can write into; after a
// successful call deliver() moves what the method wrote into the caller's
// VARIANTs that arrived by reference. Undelivered temporaries are freed.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace quor {

class ScriptOutArgs {
public:
    ScriptOutArgs(ITypeInfo* typeInfo, DISPID member, const DISPPARAMS* params);
    ScriptOutArgs(const ScriptOutArgs&) = delete;
    ScriptOutArgs& operator=(const ScriptOutArgs&) = delete;
    ~ScriptOutArgs();

    // The parameters to pass on: the caller's own when nothing needed
    // patching.
    DISPPARAMS* params() { return patched_ ? &params_ : original_; }

    // Hands each result to the caller's VARIANT it belongs to, clearing what
    // that VARIANT held; the caller then owns the strings.
    void deliver();

private:
    void patch(const FUNCDESC& function);

    DISPPARAMS* original_;
    DISPPARAMS params_ = {};
    bool patched_ = false;
    std::vector<VARIANTARG> arguments_;
    std::vector<VARIANT> holders_;
    // Per holder: the caller's VARIANT that receives it, or null when the
    // argument came by value and the result is dropped.
    std::vector<VARIANT*> receivers_;
};

}  // namespace quor
