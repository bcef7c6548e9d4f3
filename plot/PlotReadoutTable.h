// The readout table under the lanes: a QuorGrid hosted in a child window of
// the plot, read-only, with a heading row and then one row per lane: its
// label, the value at A and its sample's time, the same at B, B's value
// less A's, and the samples, minimum, maximum, mean and RMS between the
// cursors. The grid's own context menu copies the figures as text. Δt and
// 1/Δt are not in the table: the plot window draws them on the line above
// it. The window keeps working without the table when the grid cannot be
// made (it is not registered).
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ControlHost.h"
#include "LaneReadout.h"
#include "QuorGrid_h.h"

namespace quor {

class PlotReadoutTable {
public:
    static const int kColumns = 11;
    // The heading row's captions, in column order.
    static const char* const kCaptions[kColumns];

    PlotReadoutTable() = default;
    ~PlotReadoutTable();
    PlotReadoutTable(const PlotReadoutTable&) = delete;
    PlotReadoutTable& operator=(const PlotReadoutTable&) = delete;

    // S_OK; a failure leaves no window behind.
    HRESULT create(HWND parent, int id);
    void destroy();
    void place(const RECT& area);
    // One row per lane after the heading; colours (0x00BBGGRR, one a row,
    // may be shorter) colour the rows' text. Rows whose text is unchanged
    // are left alone, so that a selection made for copying survives.
    void show(const std::vector<LaneReadout>& rows, const std::vector<uint32_t>& colours = {});
    // Row 0 is the heading row, lane k's row is k + 1; as the grid holds it.
    std::string cellText(int row, int column) const;
    int rowCount() const;  // the heading row included
    HWND window() const { return host_ ? host_->window() : nullptr; }
    IQuorGridControl* grid() const { return grid_.Get(); }

private:
    void setUpGrid();
    void putRow(size_t index, const std::string& text, uint32_t colour);

    std::unique_ptr<ControlHost> host_;
    Microsoft::WRL::ComPtr<IQuorGridControl> grid_;
    std::vector<std::string> shown_;  // the rows' texts in the grid, the heading first
    std::vector<uint32_t> shownColours_;
};

// The cells of a row joined as the grid takes them.
std::string readoutRowText(const LaneReadout& row);

}  // namespace quor
