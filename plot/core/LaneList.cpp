#include "LaneList.h"

#include <algorithm>

namespace quor {

namespace {

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

char pathChar(char c)
{
    if (c == '\\')
        return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const uint32_t kPalette[] = {
    rgb(31, 119, 180), rgb(214, 39, 40),  rgb(44, 160, 44),  rgb(255, 127, 14),
    rgb(148, 103, 189), rgb(140, 86, 75), rgb(227, 119, 194), rgb(110, 110, 110),
    rgb(188, 189, 34), rgb(23, 190, 207), rgb(0, 0, 140),     rgb(140, 0, 0),
    rgb(0, 120, 120),  rgb(120, 120, 0),  rgb(90, 0, 130),    rgb(0, 90, 40),
};
const int kPaletteSize = static_cast<int>(sizeof kPalette / sizeof kPalette[0]);

uint32_t defaultColour(int index)
{
    return kPalette[(index % kPaletteSize + kPaletteSize) % kPaletteSize];
}

bool samePath(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (pathChar(a[k]) != pathChar(b[k]))
            return false;
    return true;
}

LaneAdd LaneList::add(const LaneSettings& settings, int* id)
{
    if (indexOfPath(settings.path) >= 0)
        return LaneAdd::duplicate;
    if (count() >= kMostLanes)
        return LaneAdd::full;
    Lane lane{nextId_++, settings};
    lane.settings.overlaid = settings.overlaid && !lanes_.empty();
    if (lane.settings.colour == 0) {
        lane.settings.colour = defaultColour(count());
        for (int k = 0; k < kPaletteSize; ++k) {
            const auto used = [&](const Lane& other) { return other.settings.colour == kPalette[k]; };
            if (std::none_of(lanes_.begin(), lanes_.end(), used)) {
                lane.settings.colour = kPalette[k];
                break;
            }
        }
    }
    lanes_.push_back(lane);
    if (id)
        *id = lane.id;
    return LaneAdd::added;
}

int LaneList::indexOf(int id) const
{
    for (int k = 0; k < count(); ++k)
        if (lanes_[k].id == id)
            return k;
    return -1;
}

int LaneList::indexOfPath(const std::string& path) const
{
    for (int k = 0; k < count(); ++k)
        if (samePath(lanes_[k].settings.path, path))
            return k;
    return -1;
}

void LaneList::remove(int index)
{
    if (index < 0 || index >= count())
        return;
    const bool headsBand = !lanes_[index].settings.overlaid || index == 0;
    if (headsBand && index + 1 < count())
        lanes_[index + 1].settings.overlaid = false;
    lanes_.erase(lanes_.begin() + index);
    if (!lanes_.empty())
        lanes_.front().settings.overlaid = false;
}

int LaneList::bandStart(int index) const
{
    while (index > 0 && lanes_[index].settings.overlaid)
        --index;
    return index;
}

int LaneList::bandEnd(int index) const
{
    int end = bandStart(index) + 1;
    while (end < count() && lanes_[end].settings.overlaid)
        ++end;
    return end;
}

bool LaneList::moveUp(int index)
{
    if (index < 0 || index >= count())
        return false;
    const int start = bandStart(index);
    if (start == 0)
        return false;
    std::rotate(lanes_.begin() + bandStart(start - 1), lanes_.begin() + start, lanes_.begin() + bandEnd(start));
    return true;
}

bool LaneList::moveDown(int index)
{
    if (index < 0 || index >= count())
        return false;
    const int start = bandStart(index), end = bandEnd(index);
    if (end == count())
        return false;
    std::rotate(lanes_.begin() + start, lanes_.begin() + end, lanes_.begin() + bandEnd(end));
    return true;
}

bool LaneList::overlay(int index)
{
    if (index < 1 || index >= count())
        return false;
    lanes_[index].settings.overlaid = true;
    return true;
}

void LaneList::separate(int index)
{
    if (index >= 0 && index < count())
        lanes_[index].settings.overlaid = false;
}

void LaneList::replacePath(int index, const std::string& path)
{
    if (index >= 0 && index < count())
        lanes_[index].settings.path = path;
}

void LaneList::clear()
{
    lanes_.clear();
    linkedId_ = 0;
}

void LaneList::setLinked(int index)
{
    linkedId_ = index >= 0 && index < count() ? lanes_[index].id : 0;
}

int LaneList::bandCount() const
{
    return count() == 0 ? 0 : bandOf(count() - 1) + 1;
}

int LaneList::bandOf(int index) const
{
    int band = 0;
    for (int k = 1; k <= index && k < count(); ++k)
        band += lanes_[k].settings.overlaid ? 0 : 1;
    return band;
}

std::vector<int> LaneList::lanesOfBand(int band) const
{
    std::vector<int> lanes;
    for (int k = 0, b = -1; k < count(); ++k) {
        b += k == 0 || !lanes_[k].settings.overlaid ? 1 : 0;
        if (b == band)
            lanes.push_back(k);
    }
    return lanes;
}

int64_t shiftedTime(int64_t fileTime, int64_t offset)
{
    int64_t shown = 0;
    if (__builtin_add_overflow(fileTime, offset, &shown))
        return offset > 0 ? INT64_MAX : INT64_MIN;
    return shown;
}

int64_t fileTimeOf(int64_t shownTime, int64_t offset)
{
    int64_t time = 0;
    if (__builtin_sub_overflow(shownTime, offset, &time))
        return offset < 0 ? INT64_MAX : INT64_MIN;
    return time;
}

}  // namespace quor
