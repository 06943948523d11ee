// Time in the page: the runtime's virtual clock fed from animation frames, asked for only while
// a timer of a visible form runs.

#include "web/WebView.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <algorithm>

namespace web {
namespace {

// A waiting timer further off than this sleeps on a timeout, not on frames.
constexpr double kSleepAbove = 40;

double now() {
    return emscripten_get_now();
}

} // namespace

// Frames are asked for only while a tick is near; a timer further off sleeps on a timeout
// until shortly before it is due.
void WebView::schedule() {
    const std::optional<std::int64_t> due = runtime_.nextDue();
    if (!due || runtime_.ended() || askingToTurn_ == true) {
        cancelWakeUps();
        clockRunning_ = false; // time stands still until something moves again
        return;
    }
    if (!clockRunning_) {
        clockStart_ = now();
        passed_ = 0;
        clockRunning_ = true;
    }
    if (frameRequest_ != 0) {
        return; // the frame schedules again
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_); // a timer may have started that ticks sooner
        timeout_ = 0;
    }
    const double wait =
        passed_ + static_cast<double>(*due - runtime_.now()) - (now() - clockStart_);
    if (wait > kSleepAbove) {
        timeout_ = emscripten_set_timeout(&WebView::onTimeout, wait - kSleepAbove / 2, this);
    } else {
        requestFrame();
    }
}

void WebView::requestFrame() {
    if (frameRequest_ == 0) {
        frameRequest_ = emscripten_request_animation_frame(&WebView::onFrame, this);
    }
}

void WebView::cancelWakeUps() {
    if (frameRequest_ != 0) {
        emscripten_cancel_animation_frame(frameRequest_);
        frameRequest_ = 0;
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_);
        timeout_ = 0;
    }
}

int WebView::onFrame(double, void* self) {
    auto* view = static_cast<WebView*>(self);
    view->frameRequest_ = 0;
    view->frame();
    return EM_FALSE;
}

void WebView::onTimeout(void* self) {
    auto* view = static_cast<WebView*>(self);
    view->timeout_ = 0;
    view->requestFrame();
}

// Virtual time catches up with real time. A frame that comes late, because the tab was in the
// background or the machine stalled, passes on at most kLongestFrame beyond the tick it was
// woken for, so that a stall never causes a burst of ticks.
void WebView::frame() {
    if (!clockRunning_) {
        schedule();
        return;
    }
    double elapsed = (now() - clockStart_) - passed_;
    const std::optional<std::int64_t> due = runtime_.nextDue();
    const double allowed = (due ? static_cast<double>(*due - runtime_.now()) : 0) + kLongestFrame;
    if (elapsed > allowed) {
        passed_ += elapsed - allowed;
        elapsed = allowed;
    }
    const auto whole = static_cast<std::int64_t>(std::max(0.0, elapsed));
    passed_ += static_cast<double>(whole);
    runtime_.advance(whole);
    afterTick();
}

// A tick changes what the child sees in front; the layers beneath are covered by it and are
// brought up to date as soon as anything else happens.
void WebView::afterTick() {
    forms::Form* active = runtime_.activeForm();
    const bool sameLayers = !runtime_.ended() && active != nullptr && active == raised_ &&
                            layers_.size() == runtime_.forms().size() &&
                            std::all_of(layers_.begin(), layers_.end(), [](const Layer& l) {
                                return l.shown == l.form->Visible();
                            });
    if (!sameLayers) {
        afterEvent();
        return;
    }
    for (Layer& layer : layers_) {
        if (layer.form == active) {
            syncLayer(layer);
        }
    }
    showActive();
    schedule();
}

} // namespace web
