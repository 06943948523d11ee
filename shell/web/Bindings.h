#pragma once

// A control made visible in the page: its element, and what was last given to it, so that an
// unchanged property costs nothing. Each kind of control has one class that makes its element
// and brings everything the kind has over to it. Positions are whole CSS pixels at the zoom,
// rounded at the edges as on the desktop, so both views put a control on the same pixel.

#include "forms/Controls.h"
#include "forms/Geometry.h"
#include "forms/Sync.h"
#include "forms/Zoom.h"
#include "web/Dom.h"

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace web {

using forms::changed;

class Binding {
  public:
    virtual ~Binding() = default;
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    forms::Control& control() const { return control_; }
    const val& node() const { return node_; }
    // The element that holds the keyboard focus: the box, the button or the option's radio.
    virtual const val& focusTarget() const { return node_; }

    // Brings the element up to date with its control, after every event.
    void sync(forms::Zoom zoom, forms::Contrast contrast);

  protected:
    Binding(forms::Control& control, val node, int id);

    // Where the element lies in its parent, in CSS pixels, and what decides it.
    using Area = forms::PixelRect;
    virtual Area area(forms::Zoom zoom) const;
    using Place = std::array<int, 5>;
    virtual Place place() const;
    // Labels, shapes, lines and pictures let the mouse through to what lies beneath them,
    // unless they have a tooltip to show.
    virtual bool letsMouseThrough() const { return false; }
    // Shapes and lines have no text; a picture's text brings its own fonts.
    virtual bool hasFont() const { return true; }
    // A disabled control takes no input; by default the browser's own disabled state.
    virtual void enable(bool enabled);
    // What only this kind of control has; `moved` when its area has changed.
    virtual void syncOwn(forms::Zoom zoom, const Area& area, bool moved) = 0;
    // What a screen reader says of it: its own name, where it has one, on the element that takes
    // the focus, and its description from a hidden text beside it.
    void syncSpoken();
    // The colours of the look, and with more contrast the edge, for the page's style sheet.
    void setLook(const forms::Look& look, bool paintsOwn);

    val node_;
    val style_;
    forms::Contrast contrast_ = forms::Contrast::AsDesigned;

  private:
    forms::Control& control_;
    int id_;
    std::optional<std::pair<Place, double>> placed_;
    Area area_;
    std::optional<bool> shown_;
    std::optional<bool> enabled_;
    std::optional<bool> through_;
    std::optional<std::string> tip_;
    std::optional<std::pair<forms::Font, double>> font_;
    std::optional<std::string> name_;
    std::optional<std::string> description_;
    val described_ = val::undefined();
};

// The binding of each kind of control, with its element inside parent; `id` names it to the
// page's input handlers. The drawn kinds (shapes, lines and pictures) in Drawings.cpp.
std::unique_ptr<Binding> bindingFor(forms::Label& label, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::TextBox& box, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::CommandButton& button, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::OptionButton& option, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::Frame& frame, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::Shape& shape, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::Line& line, const val& parent, int id);
std::unique_ptr<Binding> bindingFor(forms::Image& image, const val& parent, int id);

// Makes the element for a control inside parent, and its binding: the one for its kind.
inline std::unique_ptr<Binding> bind(forms::Control& control, const val& parent, int id) {
    return forms::visit(control, [&](auto& kind) { return bindingFor(kind, parent, id); });
}

} // namespace web
