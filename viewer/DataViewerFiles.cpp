// The commands that write or check files beside the data file: the CSV
// export of the page shown and the index file check.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <memory>

#include "CommandLine.h"
#include "CsvExport.h"
#include "DataViewerDialog.h"
#include "IndexReport.h"

namespace {

const DWORD kNameBufferSize = 1300;

struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The Save dialog may move the current directory; it is put back after an OK.
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() { saved_ = GetCurrentDirectoryA(kNameBufferSize, directory_) != 0; }
    void restore() const
    {
        if (saved_)
            SetCurrentDirectoryA(directory_);
    }

private:
    char directory_[kNameBufferSize] = {};
    bool saved_ = false;
};

}  // namespace

bool DataViewerDialog::askForExportFile(QuorText& path)
{
    char name[kNameBufferSize] = "QuorExportFile.csv";
    static const char filter[] = "*.csv\0*.csv\0";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetDesktopWindow();
    ofn.lpstrFilter = filter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name;
    ofn.nMaxFile = kNameBufferSize;
    ofn.lpstrTitle = "Save Export File";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
    CurrentDirectoryKeeper directory;
    if (!GetSaveFileNameA(&ofn))
        return false;
    directory.restore();
    path = name;
    return true;
}

ExportPage DataViewerDialog::shownPage() const
{
    ExportPage page;
    page.header = &header_;
    page.fileSize = fileSize_;
    page.segments = segments_;
    page.segmentCount = segmentCount_;
    page.pageSize = pager_.pageSize();
    page.currentTime = pager_.currentTime();
    return page;
}

HRESULT DataViewerDialog::exportCsvFile()
{
    if (!haveGrids())
        return E_FAIL;
    QuorText path;
    UniqueFile file;
    if (askForExportFile(path))
        file.reset(fopen(path.c_str(), "wb"));  // the writer puts CR LF itself
    if (!file) {
        showMessage("Unable To Open File", "Create Export File", MB_OK);
        return E_FAIL;
    }
    refreshSegments();
    FileExportSink sink(file.get());
    HRESULT hr = writeCsvExport(shownPage(), dataFile_, sink);
    if (fflush(file.get()) != 0 || ferror(file.get()))
        hr = E_FAIL;
    file.reset();
    if (FAILED(hr)) {
        showMessage("Unable To Open File", "Create Export File", MB_OK);
        return hr;
    }
    QuorText text;
    showMessage(text.format("File is: %s\n", fullPathName(path.c_str()).c_str()), "Success !!", MB_OK);
    return S_OK;
}

HRESULT DataViewerDialog::validateIndexFile()
{
    IndexReportInput input;
    input.dataFilePath = dataFilePath_.str();
    input.startTime = header_.startTime;
    input.endTime = header_.endTime;
    input.dataType = header_.dataType;
    QuorText report;
    const IndexReportStatus status = buildIndexReport(input, &report);
    if (status == IndexReportStatus::ok) {
        showMessage(report.c_str(), "Validate Index", MB_OK);
        return S_OK;
    }
    const char* message = indexReportMessage(status);
    if (message && *message)
        showMessage(message, "Validate Index", MB_OK);
    return E_FAIL;
}
