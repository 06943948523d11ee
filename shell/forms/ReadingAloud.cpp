#include "forms/ReadingAloud.h"

namespace forms {

void ReadingAloud::hear(const Said& said) {
    if (!said.read.empty()) {
        Utterance now{said.read, said.problem, false};
        // What waited is older than this: a time left would name an old problem.
        if (speaking_ && !speaking_->cutOff) {
            waiting_ = std::move(now); // a verdict is heard to its end
        } else {
            waiting_.reset();
            start(std::move(now));
        }
    } else if (!said.later.empty()) {
        Utterance later{said.later, true, true};
        if (!speaking_) {
            start(std::move(later));
        } else if (!waiting_ || waiting_->later) {
            waiting_ = std::move(later);
        }
    }
}

void ReadingAloud::again(const std::string& text) {
    waiting_.reset();
    if (!text.empty()) {
        start({text, true, false});
    }
}

void ReadingAloud::done() {
    speaking_.reset();
    if (waiting_) {
        Utterance next = std::move(*waiting_);
        waiting_.reset();
        start(std::move(next));
    }
}

// The voice may be done at once, inside say (a page without a voice): the utterance is the
// one speaking before it is said.
void ReadingAloud::start(Utterance utterance) {
    const std::string text = utterance.text;
    speaking_ = std::move(utterance);
    voice_.say(text);
}

} // namespace forms
