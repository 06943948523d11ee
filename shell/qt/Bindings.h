#pragma once

// A control made visible: its widget, and what was last given to it, so that an unchanged
// property costs nothing. Each kind of control has one binding that makes its widget and
// brings everything the kind has over to it: text, colours, look and drawing.

#include "forms/Controls.h"
#include "forms/Geometry.h"
#include "forms/Sync.h"
#include "forms/Zoom.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace qt {

using forms::changed;

class View;

class Binding {
  public:
    virtual ~Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    forms::Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }

    // Brings the widget up to date with its control, after every event.
    void sync();

  protected:
    Binding(forms::Control& control, QWidget* widget, const View& view);

    // The properties that decide where the widget lies.
    using Place = std::array<int, 5>;
    virtual Place place() const;
    // Labels, shapes, lines and pictures let the mouse through to what lies beneath them,
    // unless they have a tooltip to show.
    virtual bool letsMouseThrough() const { return false; }
    // What only this kind of control has.
    virtual void syncOwn() = 0;
    // A disabled control takes no input; by default Qt's own disabled state.
    virtual void enable(bool enabled) { widget_->setEnabled(enabled); }
    virtual bool enabled() const { return widget_->isEnabled(); }

    // What a screen reader says of the control: its own name where it has one, else its
    // caption without the "&" of its Alt letter.
    void nameFor(const std::string& caption);

    const forms::Zoom& zoom_;         // the view's, which changes with the screen
    const forms::Contrast& contrast_; // the view's: as designed, or more

  private:
    forms::Control& control_;

  protected:
    QWidget* widget_;

  private:
    std::optional<std::pair<Place, forms::Zoom>> place_;
    std::optional<std::string> tip_;
    std::optional<std::pair<forms::Font, forms::Zoom>> font_;
    std::optional<std::string> name_;
    std::optional<std::string> description_;
};

// The binding of each kind of control, with its widget inside parent; the drawn kinds (shapes,
// lines and pictures) in Drawings.cpp.
std::unique_ptr<Binding> bindingFor(forms::Label& label, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::TextBox& box, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::CommandButton& button, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::OptionButton& option, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::Frame& frame, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::Shape& shape, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::Line& line, QWidget* parent, View& view);
std::unique_ptr<Binding> bindingFor(forms::Image& image, QWidget* parent, View& view);

// Makes the widget for a control inside parent, and its binding: the one for its kind.
inline std::unique_ptr<Binding> bind(forms::Control& control, QWidget* parent, View& view) {
    return forms::visit(control, [&](auto& kind) { return bindingFor(kind, parent, view); });
}

} // namespace qt
