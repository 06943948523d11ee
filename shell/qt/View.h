#pragma once

// The runtime made visible: a window per form, input fed back into the runtime, and a frame
// driver that lets virtual time pass only while a visible form has an enabled timer and wakes
// only when a tick is due, so that an idle screen costs no CPU and a slow timer almost none.

#include "forms/Fitting.h"
#include "forms/FrameClock.h"
#include "forms/Keys.h"
#include "forms/Runtime.h"
#include "forms/Sync.h"
#include "qt/FormWindow.h"
#include "qt/Pictures.h"
#include "qt/Speaker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QKeyEvent;

namespace qt {

class View : public QObject {
  public:
    // The screen, where given, is fitted to the windows' size; without one, the zoom is 1.
    explicit View(forms::Runtime& runtime, forms::FittedScreen* screen = nullptr);
    ~View() override;

    // Brings every window up to date with its form, after any event.
    void afterEvent();

    void click(forms::Control& control);
    void close(forms::Form& form);
    // A window's inner size: the area the screens are fitted to.
    void resized(forms::Form& form, QSize size);

    FormWindow* window(const forms::Form& form) const;
    Pictures& pictures() { return pictures_; }
    // Twips to pixels: the screen's zoom, kept here for every binding to read.
    const forms::Zoom& zoom() const { return zoom_; }
    // The colours as designed, or with more contrast; every window follows at once.
    const forms::Contrast& contrast() const { return contrast_; }
    void setContrast(forms::Contrast contrast);
    // Whether the frame driver runs, that is whether time is passing for some timer.
    bool driving() const { return driver_.isActive(); }
    // The window of the active form, the parent of a message.
    QWidget* activeWindow() const;
    // Reads every problem aloud from now on, with a speaker sign in every window; false where
    // the desktop has no German voice (the sign then says so).
    bool readAloud();
    // The speaker sign's state: nothing while reading aloud is off.
    const Speaker* speaker() const { return speaker_.get(); }
    // The sign was pressed: the problem again, or why there is no voice.
    void sayAgain(QWidget* sign);

  protected:
    bool eventFilter(QObject* target, QEvent* event) override;

  private:
    void key(const QKeyEvent& event);
    void frame();
    void afterTick();
    void showActive();
    void schedule();
    bool ours(const QWidget* window) const;
    void followZoom();
    void speak();

    forms::Runtime& runtime_;
    forms::FittedScreen* screen_;
    forms::Zoom zoom_;
    forms::Contrast contrast_ = forms::Contrast::AsDesigned;
    forms::Keyboard keyboard_{runtime_};
    Pictures pictures_; // outlives the windows that draw them
    std::vector<std::unique_ptr<FormWindow>> windows_;
    forms::Form* raised_ = nullptr;
    forms::SyncRule sync_{runtime_};
    QTimer driver_;
    QElapsedTimer elapsed_;
    forms::FrameClock clock_{runtime_};
    std::unique_ptr<Speaker> speaker_;
};

} // namespace qt
