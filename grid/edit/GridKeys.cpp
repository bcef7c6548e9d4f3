#include "GridKeys.h"

namespace quor {

namespace {

GridKeyAction unlessEditing(const GridKeyState& state, GridKeyAction action)
{
    return state.editing ? GridKeyAction::DefaultProcessing : action;
}

GridKeyAction whenEditable(const GridKeyState& state, GridKeyAction action)
{
    return state.editable ? action : GridKeyAction::DefaultProcessing;
}

GridKeyAction unlessShift(const GridKeyState& state, GridKeyAction action)
{
    return state.shift ? GridKeyAction::Nothing : action;
}

}  // namespace

GridKeyAction gridKeyAction(WPARAM key, const GridKeyState& state)
{
    switch (key) {
    case VK_TAB: return GridKeyAction::NextCell;
    case VK_RETURN: return GridKeyAction::NextRow;
    case VK_ESCAPE: return state.editing ? GridKeyAction::CancelEdit : GridKeyAction::DefaultProcessing;
    case VK_PRIOR: return GridKeyAction::PageUp;
    case VK_NEXT: return GridKeyAction::PageDown;
    case VK_END: return unlessEditing(state, GridKeyAction::LastColumn);
    case VK_HOME: return unlessEditing(state, GridKeyAction::FirstColumn);
    case VK_LEFT: return unlessEditing(state, GridKeyAction::CellLeft);
    case VK_UP: return unlessShift(state, GridKeyAction::CellUp);
    case VK_RIGHT: return unlessEditing(state, GridKeyAction::CellRight);
    case VK_DOWN: return unlessShift(state, GridKeyAction::CellDown);
    case VK_DELETE:
    case 'X': return whenEditable(state, GridKeyAction::Cut);
    case 'A': return GridKeyAction::SelectAll;
    case 'C': return GridKeyAction::Copy;
    case 'V': return whenEditable(state, GridKeyAction::Paste);
    default: return GridKeyAction::DefaultProcessing;
    }
}

}  // namespace quor
