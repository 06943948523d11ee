#pragma once

// One window per form, one widget per control. After every event the view syncs the form's
// properties into the widgets; only what changed is passed on to Qt.

#include "forms/Form.h"
#include "qt/Bindings.h"
#include "qt/Speaker.h"
#include "qt/Widgets.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace qt {

class View;

class FormWindow : public QWidget {
  public:
    FormWindow(forms::Form& form, View& view);

    forms::Form& form() const { return form_; }
    QWidget* widgetFor(const forms::Control* control) const;
    // The control a widget shows, if it is one of this window's.
    forms::Control* controlOf(const QWidget* widget) const;
    void sync();
    // Says politely what has just changed in the form in front.
    void announce(const QString& text);
    // The speaker sign, while reading aloud is on.
    void showSpeaker(bool german);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showOrHide();

    forms::Form& form_;
    View& view_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    Announcer* announcer_;
    SpeakerSign* sign_ = nullptr;
    std::optional<std::string> title_;
    std::optional<forms::Color> back_;
};

} // namespace qt
