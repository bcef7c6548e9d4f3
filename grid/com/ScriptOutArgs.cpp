#include "ScriptOutArgs.h"

#include <oleauto.h>

namespace quor {

namespace {

bool findFunction(ITypeInfo* typeInfo, DISPID member, FUNCDESC** found)
{
    TYPEATTR* attributes = nullptr;
    if (FAILED(typeInfo->GetTypeAttr(&attributes)))
        return false;
    const WORD functionCount = attributes->cFuncs;
    typeInfo->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functionCount; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(typeInfo->GetFuncDesc(i, &function)))
            continue;
        if (function->memid == member) {
            *found = function;
            return true;
        }
        typeInfo->ReleaseFuncDesc(function);
    }
    return false;
}

bool isPlainOutParameter(const ELEMDESC& parameter)
{
    const USHORT flags = parameter.paramdesc.wParamFlags;
    return parameter.tdesc.vt == VT_PTR && (flags & PARAMFLAG_FOUT) && !(flags & PARAMFLAG_FRETVAL) &&
           parameter.tdesc.lptdesc->vt != VT_USERDEFINED;
}

// A reference of the declared type itself (what VBA passes for a typed
// variable) goes through untouched; only a VARIANT reference needs a
// temporary.
bool isVariantReference(const VARIANTARG& argument) { return V_VT(&argument) == (VT_BYREF | VT_VARIANT); }

// A number the variable held already stays when the method writes nothing
// (find without a hit), as it does for a typed caller; so a script can
// preset -1 to recognise a miss. Only plain numbers are converted: turning
// an object into a number would call into it.
void startFromHeldNumber(VARIANT& holder, const VARIANT& held)
{
    if (V_VT(&holder) != VT_I4 || V_VT(&held) < VT_I2 || V_VT(&held) > VT_R8)
        return;
    VARIANT number;
    VariantInit(&number);
    if (SUCCEEDED(VariantChangeType(&number, const_cast<VARIANT*>(&held), 0, VT_I4)))
        V_I4(&holder) = V_I4(&number);
}

}  // namespace

ScriptOutArgs::ScriptOutArgs(ITypeInfo* typeInfo, DISPID member, const DISPPARAMS* params)
    : original_(const_cast<DISPPARAMS*>(params))
{
    FUNCDESC* function = nullptr;
    if (!typeInfo || !params || params->cNamedArgs != 0 || !findFunction(typeInfo, member, &function))
        return;
    patch(*function);
    typeInfo->ReleaseFuncDesc(function);
}

ScriptOutArgs::~ScriptOutArgs()
{
    for (VARIANT& holder : holders_)
        VariantClear(&holder);
}

void ScriptOutArgs::patch(const FUNCDESC& function)
{
    const UINT argumentCount = original_->cArgs;
    if (argumentCount > static_cast<UINT>(function.cParams))
        return;
    arguments_.assign(original_->rgvarg, original_->rgvarg + argumentCount);
    holders_.assign(argumentCount, VARIANT{});  // VT_EMPTY, value zeroed
    receivers_.assign(argumentCount, nullptr);
    for (UINT p = 0; p < argumentCount; ++p) {
        const ELEMDESC& parameter = function.lprgelemdescParam[p];
        VARIANTARG& argument = arguments_[argumentCount - 1 - p];  // arguments arrive last first
        if (!isPlainOutParameter(parameter))
            continue;
        if (isVariantReference(argument))
            receivers_[p] = V_VARIANTREF(&argument);
        else if (V_VT(&argument) & VT_BYREF)
            continue;
        VARIANT& holder = holders_[p];
        V_VT(&holder) = parameter.tdesc.lptdesc->vt;
        if (receivers_[p])
            startFromHeldNumber(holder, *receivers_[p]);
        V_VT(&argument) = static_cast<VARTYPE>(V_VT(&holder) | VT_BYREF);
        V_BYREF(&argument) = static_cast<void*>(&V_I4(&holder));
        patched_ = true;
    }
    params_ = *original_;
    params_.rgvarg = arguments_.data();
}

void ScriptOutArgs::deliver()
{
    for (size_t p = 0; p < receivers_.size(); ++p) {
        VARIANT* receiver = receivers_[p];
        if (!receiver)
            continue;
        VariantClear(receiver);
        *receiver = holders_[p];  // the string moves over: the holder forgets it
        V_VT(&holders_[p]) = VT_EMPTY;
    }
}

}  // namespace quor
