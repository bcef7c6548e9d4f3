// The lanes of the plot workspace: one data file each, in the order they
// stack, with how each is drawn and shifted. Lanes are kept by value here;
// the window keys whatever it holds per lane (its recording) by Lane::id.
//
// Bands are what is drawn together: a lane and the overlaid lanes right
// below it. Moving a lane moves its whole band past the neighbouring band,
// so that bands keep what they hold; to move a lane out of a band,
// separate it first. The first lane is never overlaid.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quor {

enum class LaneStyle { steps, lines };

struct LaneSettings {
    std::string path;
    LaneStyle style = LaneStyle::lines;
    bool overlaid = false;  // drawn in the band of the lane above, on one value axis with it
    uint32_t colour = 0;    // 0x00BBGGRR; 0 when added: the next free colour of the palette
    int64_t offset = 0;     // ns added to every time of the file
};

struct Lane {
    int id = 0;  // unique for the life of the list
    LaneSettings settings;
};

enum class LaneAdd { added, duplicate, full };

// Distinct colours that read on white, in the order lanes take them.
extern const uint32_t kPalette[];
extern const int kPaletteSize;
uint32_t defaultColour(int index);

// Paths compare as Windows compares them: ignoring ASCII case, '/' == '\\'.
bool samePath(const std::string& a, const std::string& b);

class LaneList {
public:
    static constexpr int kMostLanes = 32;

    // Appends the lane; a path already in the list is a duplicate. A colour
    // of 0 becomes the first palette colour no lane uses.
    LaneAdd add(const LaneSettings& settings, int* id = nullptr);
    int count() const { return static_cast<int>(lanes_.size()); }
    const Lane& at(int index) const { return lanes_[index]; }
    LaneSettings& settings(int index) { return lanes_[index].settings; }
    int indexOf(int id) const;                      // -1 when none
    int indexOfPath(const std::string& path) const; // -1 when none

    // The band of the removed lane keeps its place: the next lane of the band
    // heads it when the removed lane did.
    void remove(int index);
    bool moveUp(int index);
    bool moveDown(int index);
    // Onto the lane above (index > 0): the lane and the lanes overlaid on it
    // join the band above. False for the first lane.
    bool overlay(int index);
    // The lane heads a band of its own again, with the lanes overlaid below it.
    void separate(int index);
    // The lane takes another file, keeping its place and settings. The caller
    // decides what a path already in the list means.
    void replacePath(int index, const std::string& path);
    void clear();

    // The linked lane (the dialog's file) follows its lane through moves;
    // -1 when none or removed.
    int linkedIndex() const { return indexOf(linkedId_); }
    void setLinked(int index);

    int bandCount() const;
    int bandOf(int index) const;
    std::vector<int> lanesOfBand(int band) const;

private:
    int bandStart(int index) const;
    int bandEnd(int index) const;  // one past the band's last lane

    std::vector<Lane> lanes_;
    int nextId_ = 1;
    int linkedId_ = 0;
};

// The lanes share one time axis: each file's times shifted by its offset.
// Shifting saturates at the ends of int64.
int64_t shiftedTime(int64_t fileTime, int64_t offset);
int64_t fileTimeOf(int64_t shownTime, int64_t offset);

}  // namespace quor
