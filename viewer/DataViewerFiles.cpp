// The commands that write or check files beside the data file: the CSV
// export of the page shown and the index file check.
#include <windows.h>
#include <commdlg.h>

#include <memory>

#include "CommandLine.h"
#include "CsvExport.h"
#include "DataViewerDialog.h"
#include "FilePrompt.h"

namespace quor {

namespace {

const DWORD kNameBufferSize = 1300;
const char kExportCaption[] = "Create Export File";

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

bool DataViewerDialog::askForExportFile(Text& path)
{
    FilePrompt prompt;
    prompt.owner = GetDesktopWindow();
    prompt.title = "Save Export File";
    prompt.filter = dialogFilter("|*.csv|*.csv|");
    prompt.name = "QuorExportFile.csv";
    prompt.flags = OFN_OVERWRITEPROMPT;
    prompt.capacity = kNameBufferSize;
    CurrentDirectoryKeeper directory;
    std::string name;
    if (!askFileName(FilePromptKind::save, prompt, name))
        return false;
    directory.restore();
    path.assign(name.c_str());
    return true;
}

HRESULT DataViewerDialog::exportCsvFile()
{
    if (!haveGrids())
        return E_FAIL;
    Text path;
    std::unique_ptr<ExportSink> sink;
    if (askForExportFile(path))
        sink = makeExportSink_(path.c_str());
    if (!sink) {
        showMessage("Unable To Open File", kExportCaption, MB_OK);
        return E_FAIL;
    }
    const HRESULT hr = document_.exportPage(*sink);
    sink.reset();
    if (FAILED(hr)) {
        // The sink wrote beside the target: a file that was there is untouched.
        Text text;
        if (hr == E_OUTOFMEMORY)
            showMessage("Unable To Open File", kExportCaption, MB_OK);
        else
            showMessage(text.format("Unable To Write File: %s", path.c_str()), kExportCaption, MB_OK | MB_ICONSTOP);
        return hr;
    }
    Text text;
    showMessage(text.format("File is: %s\n", fullPathName(path.c_str()).c_str()), "Success !!", MB_OK);
    return S_OK;
}

HRESULT DataViewerDialog::validateIndexFile()
{
    Text report;
    const IndexReportStatus status = document_.validateIndex(&report);
    if (status == IndexReportStatus::ok) {
        showMessage(report.c_str(), "Validate Index", MB_OK);
        return S_OK;
    }
    const char* message = indexReportMessage(status);
    if (message && *message)
        showMessage(message, "Validate Index", MB_OK);
    return E_FAIL;
}

}  // namespace quor
