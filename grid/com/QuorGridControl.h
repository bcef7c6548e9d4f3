// QuorGridControl: the grid as a COM object. It holds the grid core (rows,
// columns, selection, view state) and its child windows, and turns each
// automation call into operations on them; BSTRs exist only at this boundary.
//
// The ActiveX control interfaces come from OleControlBase; QueryInterface
// hands everything it does not answer itself to queryOleInterface.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <string>

#include "CellMenuResource.h"
#include "ColumnTable.h"
#include "FileDialogs.h"
#include "GdiHandles.h"
#include "GridCore.h"
#include "GridInteraction.h"
#include "GridPainter.h"
#include "OleControl.h"
#include "QuorColumnHeaderObj.h"
#include "QuorRowHeaderObj.h"
#include "RowButtonCommand.h"
#include "GridFinder.h"
#include "GridSelection.h"
#include "GridSorter.h"
#include "GridView.h"
#include "QuorGrid_h.h"
#include "RowModel.h"
#include "WindowClass.h"
#include "WindowProc.h"

namespace quor {

class QuorGridControl final : public IQuorGridControl,
                              public OleControlBase,
                              private ColumnHeaderOwner,
                              private GridCoreListener {
public:
    QuorGridControl();
    QuorGridControl(const QuorGridControl&) = delete;
    QuorGridControl& operator=(const QuorGridControl&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch, served from the type library
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT nameCount, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // IQuorGridControl
    STDMETHODIMP showRowButtons(VARIANT_BOOL show) override;
    STDMETHODIMP appendRow(BSTR rowStr, VARIANT_BOOL scrollToRow, BSTR tagText, VARIANT_BOOL markEdited) override;
    STDMETHODIMP deleteRow(BSTR tagText, VARIANT_BOOL keepAsDeleted) override;
    STDMETHODIMP deleteAllRows(VARIANT_BOOL redraw) override;
    STDMETHODIMP getNumberOfRows(LONG *count) override;
    STDMETHODIMP getNumberOfEditedRows(LONG *count) override;
    STDMETHODIMP resetToFirstRow() override;
    STDMETHODIMP getNextRow(BSTR *rowStr) override;
    STDMETHODIMP getRow(BSTR tagText, BSTR *rowStr) override;
    STDMETHODIMP resetToFirstEditedRow() override;
    STDMETHODIMP getNextEditedRow(BSTR *rowStr, BSTR *tagText, LONG *rowIndex) override;
    STDMETHODIMP resetAllEditedRows() override;
    STDMETHODIMP markRowAsEdited(BSTR tagText) override;
    STDMETHODIMP getNumberOfDeletedRows() override;
    STDMETHODIMP resetToFirstDeletedRow() override;
    STDMETHODIMP getNextDeletedRow(BSTR *rowStr, BSTR *tagText) override;
    STDMETHODIMP resetAllDeletedRows() override;
    STDMETHODIMP getNumberOfSelectedRows(LONG *count) override;
    STDMETHODIMP resetToFirstSelectedRow() override;
    STDMETHODIMP getNextSelectedRow(BSTR *rowStr) override;
    STDMETHODIMP getTagText(LONG rowIndex, BSTR *tagText) override;
    STDMETHODIMP setTagText(LONG rowIndex, BSTR tagText) override;
    STDMETHODIMP toggleRowHighlight(LONG row) override;
    STDMETHODIMP setRowVisibility(LONG rowIndex, VARIANT_BOOL visible) override;
    STDMETHODIMP setRowSelect(LONG row, RowSelectionType how) override;
    STDMETHODIMP setRowSelectRange(LONG row1, LONG row2, RowSelectionType how) override;
    STDMETHODIMP setSelected(LONG row, LONG column, GridSelectType type, VARIANT_BOOL select) override;
    STDMETHODIMP updateRow(BSTR rowStr, BSTR tagText, VARIANT_BOOL redraw, VARIANT_BOOL markEdited) override;
    STDMETHODIMP SelectAllRows() override;
    STDMETHODIMP deselectAllRows() override;
    STDMETHODIMP appendBlankRows(LONG nRows) override;
    STDMETHODIMP setAllVisible() override;
    STDMETHODIMP rowIsVisible(LONG rowNumber, VARIANT_BOOL *visible) override;
    STDMETHODIMP getCellText(LONG row, LONG column, BSTR *text) override;
    STDMETHODIMP SetRowColor(LONG row, OLE_COLOR color) override;
    STDMETHODIMP showColumnHeader(VARIANT_BOOL show) override;
    STDMETHODIMP setColumnHeadings(BSTR headings) override;
    STDMETHODIMP SetColumnEditable(LONG column, VARIANT_BOOL editable) override;
    STDMETHODIMP getNumberOfColumns(LONG *count) override;
    STDMETHODIMP getColumnHeading(LONG columnNumber, BSTR *heading) override;
    STDMETHODIMP getColumnHeadingStr(BSTR *headings) override;
    STDMETHODIMP getColumnNumberByHeading(BSTR heading, LONG *column) override;
    STDMETHODIMP deselectAllColumns() override;
    STDMETHODIMP autoResizeColumn(LONG col) override;
    STDMETHODIMP setColumnWidth(LONG col, short width) override;
    STDMETHODIMP getColumnWidth(LONG col, short *width) override;
    STDMETHODIMP redraw() override;
    STDMETHODIMP setGridFont(IFontDisp *font) override;
    STDMETHODIMP setHeaderFont(IFontDisp *font) override;
    STDMETHODIMP setGridBackgroundColor(ULONG color, VARIANT_BOOL redraw) override;
    STDMETHODIMP setGridLineColor(ULONG color, VARIANT_BOOL redraw) override;
    STDMETHODIMP sortGrid(LONG column, SortStyle style) override;
    STDMETHODIMP setEditability(VARIANT_BOOL editable) override;
    STDMETHODIMP setGuiComponent(LONG column, BSTR kind, BSTR items) override;
    STDMETHODIMP setMenuOptionsSensitivity(BSTR item, VARIANT_BOOL sensitive) override;
    STDMETHODIMP find(BSTR text, VARIANT_BOOL wholeCell, VARIANT_BOOL matchCase, VARIANT_BOOL unused1, VARIANT_BOOL unused2, LONG *row, LONG *column, GridSelectType selectType) override;
    STDMETHODIMP resetFind() override;
    STDMETHODIMP setGridLines(GridLinesStyle style) override;
    STDMETHODIMP setGridTextAlignment(GridTextAlignmentStyle align) override;
    STDMETHODIMP allowColumnReorder(VARIANT_BOOL allow) override;
    STDMETHODIMP setUpperLeftCell(LONG x, LONG y) override;
    STDMETHODIMP CompleteEdit() override;
    STDMETHODIMP AutoSizeEditBox(VARIANT_BOOL inProp) override;

    // The row button click k (0 the corner button) with the keys held.
    void rowButtonCommand(int32_t k, RowButtonModifiers keys);

private:
    ~QuorGridControl();

    // OleControlBase
    HWND createControlWindow(HWND parent, const RECT& pos) override;
    void drawContent(HDC dc, const RECT& bounds) override;
    const CLSID& controlClsid() const override;
    const IID& eventsIid() const override;
    HRESULT classTypeInfo(ITypeInfo** info) override;

    // GridCoreListener: what the core's operations mean for the windows.
    void rowsAppended() override;
    void columnWidthChanged(int32_t column, int32_t width) override;
    void headingsChanged() override;
    void originMoved() override;
    void rowsChanged() override;
    int32_t textWidth(const std::string& text) override;
    void commitOpenEdit() override { interaction_.completeEdit(); }

    // ColumnHeaderOwner
    ColumnTable& columnTable() override { return core_.columns(); }
    void beforeHeaderClick() override;
    void columnsChanged() override { core_.view().invalidate(); }
    void sortByColumn(int32_t column, int32_t style) override;
    void resizeColumnToFit(int32_t column) override;
    void setColumnWidthFromMenu(int32_t column, int32_t width) override;

    // The control window (QuorGridWindow.cpp), one handler per message.
    friend LRESULT CALLBACK ownedWindowProc<QuorGridControl>(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND window) { gridWindow_ = window; }
    void detachWindow() {}
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onCreate();
    void onDestroy();
    void onSize();
    // The view reads its client size from here, told again on every change.
    void tellClientSize();
    RECT clientArea() const { return toRect(core_.view().clientRect()); }
    void onPaint();
    void onVerticalScroll(int code);
    void onHorizontalScroll(int code);
    void onMouseWheel(int delta);
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onKeyDown(WPARAM key, LPARAM lParam);
    bool endEditBeforeScrolling();
    LRESULT onNotify(const NMHDR& header);
    void paintInto(HDC dc, const RECT& client);
    void placeHeaderBand();
    void setUpScrollBars();
    void scrollRowsTo(int32_t index);
    void scrollColumnsTo(int32_t index);
    void addRowButtonsForRows();
    void onAppendedRowsShown();
    void repaintHeadersNow();

    HRESULT queryOleInterface(REFIID riid, void** object);
    HRESULT typeInfo(ITypeInfo** info);
    HRESULT dispatchTypeInfo(REFIID riid, ITypeInfo** info);

    std::string longestCellText(int32_t column);
    HRESULT nextRowOf(GridRow* (RowModel::*next)(), BSTR* rowStr);
    void recomputeView() { core_.recountView(); }
    void redrawIf(VARIANT_BOOL flag);
    bool isCellWhollyOnScreen(int32_t rowNumber, int32_t column) const;
    void scrollCellIntoView(int32_t rowNumber, int32_t column);

    LONG refCount_ = 1;
    Microsoft::WRL::ComPtr<ITypeInfo> typeInfo_;

    // From its creation on; OleControlBase learns of it only once it is made.
    HWND gridWindow_ = nullptr;
    GridCore core_{*this};
    GridSorter sorter_;
    GridFinder finder_;
    Font gridFont_;
    Pen gridLinePen_;
    PaintBuffer paintBuffer_;
    QuorColumnHeaderObj columnHeader_;
    QuorRowHeaderObj rowHeader_;
    // Given back after the window is gone (the destructor's body destroys it).
    WindowClassHold windowClass_;
    // A run of appendRow calls is shown once, by one posted message: the
    // bar is repainted, and the cells when one of the new rows is on screen.
    bool appendedRowsPosted_ = false;
    bool appendedRowOnScreen_ = false;
    CellMenuResource cellMenu_;
    // Last: it refers to the core above while it goes.
    GridInteraction interaction_{core_, std::make_unique<CommonFileDialog>()};
};

}  // namespace quor
