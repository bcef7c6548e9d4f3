#include "WorkspaceFile.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include "CFile.h"
#include "ReplacingFile.h"

namespace quor {

const char kWorkspaceExtension[] = ".quorWorkspace";

namespace {

const char kFormatName[] = "QuorWorkspace";
const int kVersion = 1;
// A workspace names a few dozen files; anything far larger is not one.
const long kLargestWorkspace = 4L << 20;

bool isSeparator(char c) { return c == '/' || c == '\\'; }

#ifdef _WIN32
const char kNativeSeparator = '\\';
#else
const char kNativeSeparator = '/';
#endif

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

bool parseInt64(const std::string& text, int64_t* value)
{
    if (text.empty() || text.size() > 20)
        return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    *value = parsed;
    return true;
}

// "#RRGGBB" as 0x00BBGGRR.
bool parseColour(const std::string& text, uint32_t* colour)
{
    if (text.size() != 7 || text[0] != '#')
        return false;
    char* end = nullptr;
    const unsigned long rrggbb = std::strtoul(text.c_str() + 1, &end, 16);
    if (*end != '\0' || text[1] == '-' || text[1] == '+' || text[1] == ' ')
        return false;
    *colour = static_cast<uint32_t>((rrggbb >> 16 & 0xFF) | (rrggbb & 0xFF00) | (rrggbb & 0xFF) << 16);
    return true;
}

std::string colourText(uint32_t colour)
{
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(colour & 0xFF), unsigned(colour >> 8 & 0xFF),
                  unsigned(colour >> 16 & 0xFF));
    return text;
}

// The separator the workspace's own path uses, for the paths made from it.
char separatorOf(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? kNativeSeparator : path[at];
}

std::string absoluteAgainst(const std::string& path, const std::string& workspacePath)
{
    const std::string folder = folderOf(workspacePath);
    if (isAbsolutePath(path) || folder.empty())
        return path;
    const char separator = separatorOf(workspacePath);
    std::string joined = folder + separator;
    for (char c : path)
        joined += isSeparator(c) ? separator : c;
    return joined;
}

bool readLane(const std::vector<std::string>& f, const std::string& workspacePath, Workspace* out)
{
    WorkspaceLane lane;
    LaneSettings& s = lane.settings;
    if (f.size() != 6 || f[5].empty())
        return false;
    if (f[1] == "steps" || f[1] == "lines")
        s.style = f[1] == "steps" ? LaneStyle::steps : LaneStyle::lines;
    else
        return false;
    if (f[2] == "overlay" || f[2] == "separate")
        s.overlaid = f[2] == "overlay";
    else
        return false;
    if (!parseColour(f[3], &s.colour) || !parseInt64(f[4], &s.offset))
        return false;
    s.path = absoluteAgainst(f[5], workspacePath);
    out->lanes.push_back(lane);
    return true;
}

bool readLine(const std::string& line, const std::string& workspacePath, Workspace* out)
{
    const std::vector<std::string> f = fields(line);
    if (f[0] == "lane")
        return readLane(f, workspacePath, out);
    if (f[0] == "view" && f.size() == 3) {
        TimeSpan view;
        if (!parseInt64(f[1], &view.from) || !parseInt64(f[2], &view.to) || view.to < view.from)
            return false;
        out->hasView = true;
        out->view = view;
        return true;
    }
    if (f[0] == "cursor" && f.size() == 3 && (f[1] == "A" || f[1] == "B")) {
        PlotCursor& cursor = f[1] == "A" ? out->a : out->b;
        if (!parseInt64(f[2], &cursor.time))
            return false;
        cursor.placed = true;
        return true;
    }
    return false;
}

bool isFormatLine(const std::string& line)
{
    const std::string name = std::string(kFormatName) + " ";
    int64_t version = 0;
    return line.compare(0, name.size(), name) == 0 && parseInt64(line.substr(name.size()), &version) &&
           version >= 1;
}

}  // namespace

bool isAbsolutePath(const std::string& path)
{
    if (!path.empty() && isSeparator(path[0]))
        return true;
    const bool letter = path.size() >= 2 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path[1] == ':';
}

std::string folderOf(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    return at == std::string::npos ? std::string() : path.substr(0, at);
}

std::string pathBelow(const std::string& path, const std::string& folder)
{
    if (folder.empty() || path.size() <= folder.size() + 1 || !isSeparator(path[folder.size()]) ||
        !samePath(path.substr(0, folder.size()), folder))
        return std::string();
    return path.substr(folder.size() + 1);
}

std::string writeWorkspace(const Workspace& workspace, const std::string& workspacePath)
{
    const std::string folder = folderOf(workspacePath);
    char number[64];
    std::string text = std::string(kFormatName) + " " + std::to_string(kVersion) + "\r\n";
    for (const WorkspaceLane& lane : workspace.lanes) {
        const LaneSettings& s = lane.settings;
        const std::string below = pathBelow(s.path, folder);
        std::snprintf(number, sizeof number, "%" PRId64, s.offset);
        text += std::string("lane\t") + (s.style == LaneStyle::steps ? "steps" : "lines") + "\t" +
                (s.overlaid ? "overlay" : "separate") + "\t" + colourText(s.colour) + "\t" + number + "\t" +
                (below.empty() ? s.path : below) + "\r\n";
    }
    if (workspace.hasView) {
        std::snprintf(number, sizeof number, "view\t%" PRId64 "\t%" PRId64 "\r\n", workspace.view.from,
                      workspace.view.to);
        text += number;
    }
    for (bool b : {false, true}) {
        const PlotCursor& cursor = b ? workspace.b : workspace.a;
        if (!cursor.placed)
            continue;
        std::snprintf(number, sizeof number, "cursor\t%c\t%" PRId64 "\r\n", b ? 'B' : 'A', cursor.time);
        text += number;
    }
    return text;
}

bool readWorkspace(const std::string& text, const std::string& workspacePath, Workspace* out, int* skipped)
{
    *out = Workspace{};
    int bad = 0;
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    bool first = true;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (first) {
            if (!isFormatLine(line))
                return false;
            first = false;
        } else if (!line.empty() && !readLine(line, workspacePath, out)) {
            ++bad;
        }
    }
    if (skipped)
        *skipped = bad;
    return !first;
}

bool loadWorkspaceFile(const std::string& path, Workspace* out, int* skipped)
{
    CFile file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    std::string text;
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
        if (text.size() > size_t(kLargestWorkspace))
            return false;
    }
    return !std::ferror(file.get()) && readWorkspace(text, path, out, skipped);
}

bool saveWorkspaceFile(const std::string& path, const Workspace& workspace)
{
    const std::string text = writeWorkspace(workspace, path);
    ReplacingFile file;
    return file.create(path.c_str()) && file.write(text.data(), text.size()) && file.commit();
}

}  // namespace quor
