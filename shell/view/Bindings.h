#pragma once

// A control made visible: its widget, and what was last given to it, so that an unchanged
// property costs nothing. Each kind of control has one binding that makes its widget and
// brings everything the kind has over to it: text, colours, look and drawing.

#include "forms/Controls.h"
#include "view/Twips.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace view {

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
    Binding(forms::Control& control, QWidget* widget, const Scale& scale);

    // Where the widget lies in its parent, in pixels, and the properties that decide it.
    virtual QRect area() const;
    using Place = std::array<int, 5>;
    virtual Place place() const;
    // Labels, shapes, lines and pictures let the mouse through to what lies beneath them,
    // unless they have a tooltip to show.
    virtual bool letsMouseThrough() const { return false; }
    // What only this kind of control has.
    virtual void syncOwn() = 0;

    const Scale& scale_; // twips to pixels, the view's, which changes with the screen

  private:
    forms::Control& control_;
    QWidget* widget_;
    std::optional<std::pair<Place, double>> place_; // with the zoom it was placed at
    std::optional<std::string> tip_;
    std::optional<std::pair<forms::Font, double>> font_;
};

// Makes the widget for a control inside parent, and its binding.
std::unique_ptr<Binding> bind(forms::Control& control, QWidget* parent, View& view);

} // namespace view
