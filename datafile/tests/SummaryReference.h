// A brute-force scan of a list of recorded samples: the envelope, the
// statistics and the sample at a cursor as the summary must answer them,
// computed sample by sample. Unit tests and the fuzz target compare the
// summary with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SignalSummary.h"

namespace quor {

struct ReferenceSample {
    int64_t time = 0;
    SampleValue value;
    bool nan = false;
    int64_t run = 0;  // the sample's run: segment of a multi-periodic file, else 0
};

class SummaryReference {
public:
    // signedInt: compare exact as int64; unsignedInt: exact as uint64; else real.
    enum Kind { signedInt, unsignedInt, real };

    SummaryReference(Kind kind, std::vector<ReferenceSample> samples)
        : kind_(kind), samples_(std::move(samples))
    {
    }
    static Kind kindOf(int32_t dataFormat);

    const std::vector<ReferenceSample>& samples() const { return samples_; }
    Kind kind() const { return kind_; }
    std::vector<EnvelopeColumn> envelope(int64_t from, int64_t to, int32_t columns) const;
    RangeStats stats(int64_t from, int64_t to) const;
    // false when no sample lies at or before time.
    bool atOrBefore(int64_t time, ReferenceSample* sample) const;
    // Every sample checked in turn, the one before it carried through.
    std::vector<ReferenceSample> find(const FindRequest& request) const;
    // Empty when the hits agree; otherwise what differs.
    std::string compareHits(const std::vector<ReferenceSample>& expected,
                            const std::vector<FoundSample>& actual) const;

    // Empty when a and b agree; otherwise what differs, for the failure message.
    std::string compareColumns(const std::vector<EnvelopeColumn>& expected,
                               const std::vector<EnvelopeColumn>& actual) const;
    std::string compareStats(const RangeStats& expected, const RangeStats& actual,
                             int64_t from, int64_t to) const;
    bool sameValue(const SampleValue& a, const SampleValue& b) const;

private:
    bool less(const SampleValue& a, const SampleValue& b) const;
    bool meets(const FindRequest& request, const SampleValue& value) const;

    Kind kind_;
    std::vector<ReferenceSample> samples_;
};

// The recorded samples of a data file read one by one: values straight
// from the data file at the places SampleRuns gives, times from the period
// or the index file. false when the file does not open, has no numbers or
// holds more than maxSamples samples.
bool readReferenceSamples(const char* path, SummaryReference::Kind* kind,
                          std::vector<ReferenceSample>* samples, int64_t maxSamples);

}  // namespace quor
