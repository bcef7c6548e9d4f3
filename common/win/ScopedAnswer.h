// The test seam of a prompt: while one lives, the prompt shows no window
// and asks its `answer` instead, for the whole process. A second one
// stands in for the first until it goes. The tag keeps apart the seams of
// prompts whose answers have the same type.
#pragma once

#include <utility>

namespace quor {

template <typename Tag, typename AnswerFunction>
class ScopedAnswer {
public:
    using Answer = AnswerFunction;

    explicit ScopedAnswer(Answer answer) : previous_(std::exchange(slot(), std::move(answer))) {}
    ~ScopedAnswer() { slot() = std::move(previous_); }
    ScopedAnswer(const ScopedAnswer&) = delete;
    ScopedAnswer& operator=(const ScopedAnswer&) = delete;

    // Empty while no seam lives.
    static const Answer& current() { return slot(); }

private:
    static Answer& slot()
    {
        static Answer answer;
        return answer;
    }

    Answer previous_;
};

}  // namespace quor
