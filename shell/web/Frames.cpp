// Time in the page: the runtime's clock fed from animation frames, asked for only while a timer
// of a visible form runs, and from a timeout while the next tick is far off.

#include "web/View.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

namespace web {
namespace {

// A waiting timer further off than this sleeps on a timeout, not on frames.
constexpr double kSleepAbove = 40;

} // namespace

// While the page asks to turn the device, the game waits and its time stands still.
void View::schedule() {
    const std::optional<double> wait =
        askingToTurn_ == true ? std::nullopt : clock_.untilNextTick(emscripten_get_now());
    if (!wait) {
        cancelWakeUps();
        clock_.stop();
        return;
    }
    if (frameRequest_ != 0) {
        return; // the frame schedules again
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_); // a timer may have started that ticks sooner
        timeout_ = 0;
    }
    if (*wait > kSleepAbove) {
        timeout_ = emscripten_set_timeout(&View::onTimeout, *wait - kSleepAbove / 2, this);
    } else {
        requestFrame();
    }
}

void View::requestFrame() {
    if (frameRequest_ == 0) {
        frameRequest_ = emscripten_request_animation_frame(&View::onFrame, this);
    }
}

void View::cancelWakeUps() {
    if (frameRequest_ != 0) {
        emscripten_cancel_animation_frame(frameRequest_);
        frameRequest_ = 0;
    }
    if (timeout_ != 0) {
        emscripten_clear_timeout(timeout_);
        timeout_ = 0;
    }
}

int View::onFrame(double, void* self) {
    auto* view = static_cast<View*>(self);
    view->frameRequest_ = 0;
    view->frame();
    return EM_FALSE;
}

void View::onTimeout(void* self) {
    auto* view = static_cast<View*>(self);
    view->timeout_ = 0;
    view->requestFrame();
}

void View::frame() {
    if (!clock_.running()) {
        schedule();
        return;
    }
    clock_.frame(emscripten_get_now());
    afterTick();
}

// A tick changes what the child sees in front; the layers beneath are covered by it and are
// brought up to date as soon as anything else happens.
void View::afterTick() {
    forms::Form* front = sync_.frontOnly();
    if (front == nullptr) {
        afterEvent();
        return;
    }
    for (Layer& layer : layers_) {
        if (layer.form == front) {
            syncLayer(layer);
        }
    }
    showActive();
    speak();
    schedule();
}

} // namespace web
