#pragma once

// Reading aloud on the desktop: Qt's text to speech through speech-dispatcher, with the
// system's German voice; and the speaker sign that shows it is on and says the problem again
// when it is pressed.

#include "forms/ReadingAloud.h"

#include <QAbstractButton>
#include <QObject>
#include <QTimer>

#include <functional>

class QTextToSpeech;

namespace qt {

class Speaker final : public QObject, public forms::Voice {
  public:
    // `done` runs whenever the voice has finished what it was saying.
    explicit Speaker(std::function<void()> done, QObject* parent = nullptr);

    // A German voice to speak with: without one the program stays silent.
    bool german() const { return german_; }
    void say(const std::string& text) override;

  private:
    void changed(int state);
    void finish();

    std::function<void()> done_;
    QTextToSpeech* speech_ = nullptr;
    bool german_ = false;
    bool saying_ = false; // inside say(): the engine stops the old text before the new one
    bool begun_ = false;  // the text being said has begun
    QTimer silence_;      // the text never began: the engine is gone
};

// The sign in a window's corner while reading aloud is on: pressed, it says the problem again;
// without a German voice it is struck through and says why.
class SpeakerSign final : public QAbstractButton {
  public:
    SpeakerSign(bool german, QWidget* parent);
    // In the window's top right corner, as large as the screens are zoomed.
    void place(double zoom);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    bool german_;
};

} // namespace qt
