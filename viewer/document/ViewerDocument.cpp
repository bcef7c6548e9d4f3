#include "ViewerDocument.h"

#include "FileHandle.h"
#include "FileLookup.h"

namespace quor {

namespace {

// A file marked read-only is read; so is one that refuses a writer even
// though it is not marked (a read-only medium, a program holding it against
// writing), which every reader can still open.
int32_t openModeFor(const char* path, bool markedReadOnly)
{
    if (markedReadOnly)
        return FileHandle::modeRead;
    FileHandle probe;
    return SUCCEEDED(probe.open(path, FileHandle::modeReadWrite)) ? FileHandle::modeReadWrite
                                                                   : FileHandle::modeRead;
}

}  // namespace

ViewerDocument::ViewerDocument() : file_(new DataFile) {}

ViewerDocument::~ViewerDocument() = default;

OpenFailure ViewerDocument::open(const char* path)
{
    if (!path || !*path)
        return OpenFailure::notFound;
    const FileFacts facts = lookUpFile(path);
    if (!facts.found)
        return OpenFailure::notFound;
    const int32_t mode = openModeFor(path, facts.readOnly);
    std::unique_ptr<DataFile> next(new DataFile);
    if (FAILED(next->open(path, mode)))
        return OpenFailure::unopenable;
    DataFileHeader header{};
    if (FAILED(next->getHeader(&header)))
        return OpenFailure::noHeader;
    int32_t segmentCount = 0;
    const Segment* segments = next->getSegments(&segmentCount);
    if (FAILED(pager_.open(header, segments, segmentCount)))
        return OpenFailure::noMemory;
    file_ = std::move(next);
    path_ = path;
    writable_ = mode == FileHandle::modeReadWrite;
    header_ = header;
    fileSize_ = file_->getFileSize();
    return OpenFailure::none;
}

void ViewerDocument::close()
{
    file_->close();
    int32_t segmentCount = 0;
    const Segment* segments = file_->getSegments(&segmentCount);
    pager_.refreshSegments(segments, segmentCount);
    pager_.resetPageSize();
}

void ViewerDocument::visitHeaderRows(const HeaderRowVisitor& rows) const
{
    quor::visitHeaderRows(shownPage(), rows);
}

HRESULT ViewerDocument::saveEditedRows(const std::vector<Text>& rows)
{
    DataFileHeader record = header_;
    for (const Text& row : rows)
        applyEditedRow(row.c_str(), record);
    const HRESULT hr = file_->saveHeader(record);
    if (FAILED(hr))
        return hr;
    rederiveAfterSave();
    return S_OK;
}

// What was written is read as a fresh open reads it: a periodic file's End
// Time from its size at the new rate, its segments at the new period. Should
// the written header not open, the file saved goes on as it derived itself.
void ViewerDocument::rederiveAfterSave()
{
    std::unique_ptr<DataFile> fresh(new DataFile);
    const int32_t mode = writable_ ? FileHandle::modeReadWrite : FileHandle::modeRead;
    if (SUCCEEDED(fresh->open(path_.c_str(), mode)))
        file_ = std::move(fresh);
    header_ = DataFileHeader{};
    file_->getHeader(&header_);
    fileSize_ = file_->getFileSize();
    int32_t segmentCount = 0;
    const Segment* segments = file_->getSegments(&segmentCount);
    pager_.followHeader(header_, segments, segmentCount);
}

ExportPage ViewerDocument::shownPage() const
{
    ExportPage page;
    page.header = &header_;
    page.fileSize = fileSize_;
    // Fetched afresh: the data file's table does not outlive its next open.
    page.segments = file_->getSegments(&page.segmentCount);
    page.pageSize = pager_.pageSize();
    page.currentTime = pager_.currentTime();
    return page;
}

HRESULT ViewerDocument::exportPage(ExportSink& sink)
{
    return writeCsvExport(shownPage(), *file_, sink);
}

IndexReportStatus ViewerDocument::validateIndex(Text* report) const
{
    IndexReportInput input;
    input.dataFilePath = path_;
    input.startTime = header_.startTime;
    input.endTime = header_.endTime;
    input.dataType = header_.dataType;
    return buildIndexReport(input, report);
}

}  // namespace quor
