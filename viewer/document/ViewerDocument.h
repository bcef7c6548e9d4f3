// The file the viewer works on, without a window: the open data file, its
// header, its segments and the pager, and what the viewer's commands do to
// them (open, page, goto, save, export, validate). The dialog shows what it
// holds and chooses the words for what went wrong.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CsvExport.h"
#include "DataFile.h"
#include "DataPager.h"
#include "HeaderRows.h"
#include "IndexReport.h"
#include "Status.h"
#include "Text.h"

namespace quor {

// Why an open failed; the file open before it is still open and unchanged.
enum class OpenFailure {
    none,
    notFound,     // no name, or nothing of that name
    unopenable,   // the data file object refused it
    noHeader,     // its header could not be had
    noMemory,     // its page buffers could not be had
};

class ViewerDocument {
public:
    ViewerDocument();
    ~ViewerDocument();
    ViewerDocument(const ViewerDocument&) = delete;
    ViewerDocument& operator=(const ViewerDocument&) = delete;

    // Opens the file beside the one open now and takes it only when all of
    // it could be had. Read and write unless the file is marked read-only or
    // refuses writing (a read-only medium); then read only.
    OpenFailure open(const char* path);
    // Closes the file; the header, the path and the pager's buffers stay,
    // and the page size goes back to its default.
    void close();
    bool isOpen() const { return file_->isOpen(); }

    // The file last opened (kept after Close).
    const std::string& path() const { return path_; }
    const DataFileHeader& header() const { return header_; }
    int64_t fileSize() const { return fileSize_; }
    // Only a native file opened for writing takes a header.
    bool canSave() const { return isOpen() && writable_ && file_->getKind() == kindNative; }

    void visitHeaderRows(const HeaderRowVisitor& rows) const;

    DataPager& pager() { return pager_; }
    const DataPager& pager() const { return pager_; }
    // The page at the pager's time; false when there are no buffers.
    bool fillPage(RowSink& rows) { return pager_.fillPage(*file_, rows); }

    // Sets the fields the edited header rows name, writes the header and,
    // once written, derives everything from it again as a fresh open would,
    // staying at the time shown. A failed write changes nothing.
    HRESULT saveEditedRows(const std::vector<Text>& rows);

    // The header, the segment table and the page shown, the page read afresh.
    HRESULT exportPage(ExportSink& sink);
    // The index check of the file last opened, with its header's times.
    IndexReportStatus validateIndex(Text* report) const;

private:
    ExportPage shownPage() const;
    void rederiveAfterSave();

    std::unique_ptr<DataFile> file_;
    std::string path_;
    bool writable_ = false;
    DataFileHeader header_{};
    int64_t fileSize_ = 0;
    DataPager pager_;
};

}  // namespace quor
