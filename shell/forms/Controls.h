#pragma once

// The controls every screen is built from. They are plain objects: a handler assigns a
// property and the view shows it after the handler. Positions and sizes are twips, relative to
// the form's client area or, inside a frame, to the frame.

#include "forms/Color.h"

#include <cstdint>
#include <functional>
#include <string>

namespace forms {

class Form;
class Frame;
class Runtime;

enum class ControlKind { Label, TextBox, CommandButton, OptionButton, Frame, Shape, Line, Image };

struct Font {
    std::string Name = "MS Sans Serif";
    double Size = 8.25; // points
    bool Bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class TextAlign { Left, Right, Center };

// Where a control lies: its left and top edges and its size, in twips.
struct Placement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// A line's two end points, in twips.
struct Segment {
    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
    friend bool operator==(const Segment&, const Segment&) = default;
};

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
    bool Enabled = true;
    Color ForeColor = colors::WindowText;
    Color BackColor = colors::ButtonFace;
    forms::Font Font;
    std::string ToolTipText;
    int TabIndex = 0; // declaration order unless a form says otherwise
    // What a screen reader says of the control where its caption does not say it (a box, a
    // button without a caption, an option with its points), and what it adds to that (the
    // problem a box asks for, what a button will start).
    std::string AccessibleName;
    std::string AccessibleDescription;
    // A new problem for a box: its description, said again even where the words are the same.
    void Describe(std::string description) {
        AccessibleDescription = std::move(description);
        ++described_;
    }

    void Move(int left, int top, int width, int height);
    void Move(const Placement& place) { Move(place.Left, place.Top, place.Width, place.Height); }
    Placement placement() const { return {Left, Top, Width, Height}; }
    // Does nothing on a hidden or disabled control.
    void SetFocus();

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    Frame* container() const { return container_; }

    // Visible together with every frame around it (the form itself not counted).
    bool shown() const;
    // Enabled together with every frame around it.
    bool usable() const;
    // Can hold the keyboard focus: a box, a button or an option, shown and usable.
    bool canTakeFocus() const;

  protected:
    Control(Form& form, ControlKind kind, std::string name);
    Control(Frame& container, ControlKind kind, std::string name);

  private:
    friend class Runtime;
    Form& form_;
    Frame* container_ = nullptr;
    std::uint64_t described_ = 0; // how often it was described anew
    std::uint64_t told_ = 0;      // how often of those it was said
    ControlKind kind_;
    std::string name_;
};

class Frame : public Control {
  public:
    Frame(Form& form, std::string name) : Control(form, ControlKind::Frame, std::move(name)) {}
    Frame(Frame& parent, std::string name) : Control(parent, ControlKind::Frame, std::move(name)) {}
    std::string Caption;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name) : Control(form, ControlKind::Label, std::move(name)) {}
    Label(Frame& frame, std::string name) : Control(frame, ControlKind::Label, std::move(name)) {}

    std::string Caption;
    TextAlign Alignment = TextAlign::Left;
    bool AutoSize = false;    // width and height follow the caption, the left edge stays
    bool Transparent = false; // the form shows through behind the text
    bool BorderSingle = false;

  private:
    friend class Runtime;
    // What the size was last measured for, so that a label is measured again only when its
    // caption or font changes, as a size set by a handler stays until then.
    std::string measuredCaption_;
    forms::Font measuredFont_;
    bool measured_ = false;
};

// What a box takes, so that a tablet offers the keys for it: any text, whole numbers, or
// numbers with a decimal comma.
enum class TextEntry { Text, Digits, Decimal };

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name) : Control(form, ControlKind::TextBox, std::move(name)) {
        BackColor = colors::WindowBackground;
        AccessibleName = "Antwort";
    }

    std::string Text;
    int MaxLength = 0; // characters; 0 for no limit
    TextEntry Entry = TextEntry::Text;
    TextAlign Alignment = TextAlign::Left;
    // Raised with the text as it was before the key; setting KeyAscii to 0 swallows the key.
    std::function<void(int& KeyAscii)> onKeyPress;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::string name)
        : Control(form, ControlKind::CommandButton, std::move(name)) {}

    std::string Caption;    // "&" marks the Alt key letter
    bool Graphical = false; // painted in BackColor instead of the system's colour
    std::function<void()> onClick;
};

class OptionButton : public Control {
  public:
    OptionButton(Form& form, std::string name)
        : Control(form, ControlKind::OptionButton, std::move(name)) {}
    OptionButton(Frame& frame, std::string name)
        : Control(frame, ControlKind::OptionButton, std::move(name)) {}

    std::string Caption;
    std::function<void()> onClick;

    bool Value() const { return value_; }
    // Choosing an option clears the others in the same frame.
    void setValue(bool value);

  private:
    bool value_ = false;
};

// A square, a circle and a rounded square take the largest size that fits, centred in the
// control's rectangle; the other kinds fill it.
enum class ShapeKind { Rectangle, Square, Oval, Circle, RoundedRectangle, RoundedSquare };

class Shape : public Control {
  public:
    Shape(Form& form, std::string name) : Control(form, ControlKind::Shape, std::move(name)) {}

    ShapeKind Kind = ShapeKind::Rectangle;
    Color FillColor = colors::Black;
    bool FillSolid = false; // otherwise only the border is drawn
    Color BorderColor = colors::WindowText;
    int BorderWidth = 1; // pixels
};

class Line : public Control {
  public:
    Line(Form& form, std::string name) : Control(form, ControlKind::Line, std::move(name)) {}

    int X1 = 0;
    int Y1 = 0;
    int X2 = 0;
    int Y2 = 0;
    Color BorderColor = colors::WindowText;
    int BorderWidth = 1; // pixels

    void set(int x1, int y1, int x2, int y2);
    void set(const Segment& s) { set(s.X1, s.Y1, s.X2, s.Y2); }
    Segment segment() const { return {X1, Y1, X2, Y2}; }
};

// A picture from the program's assets. Its natural size (twips) is the size it was drawn for;
// the image control stretches it to its own rectangle.
struct Picture {
    std::string resource; // a path below the assets, "" for none
    int naturalWidth = 0;
    int naturalHeight = 0;
    friend bool operator==(const Picture&, const Picture&) = default;
};

class Image : public Control {
  public:
    Image(Form& form, std::string name) : Control(form, ControlKind::Image, std::move(name)) {}
    Image(Frame& frame, std::string name) : Control(frame, ControlKind::Image, std::move(name)) {}

    forms::Picture Picture;
};

// Raises onTimer once per period while enabled and its form is visible. The period is
// max(Interval, 16 ms): the shortest interval means one tick per frame.
class Timer {
  public:
    Timer(Form& form, std::string name);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    static constexpr int kShortestPeriod = 16;

    int Interval = 0; // ms; 0 never ticks
    bool Enabled = false;
    std::function<void()> onTimer;

    Form& form() const { return form_; }
    const std::string& name() const { return name_; }

  private:
    friend class Runtime;
    Form& form_;
    std::string name_;
    bool running_ = false;
    std::int64_t due_ = 0;
    int period_ = 0;
};

// Calls f with the control as the kind it is (a Label&, a TextBox&, ...): the one place where a
// control's kind becomes its type, for whatever a view makes of each kind.
template <class F> decltype(auto) visit(Control& control, F&& f) {
    switch (control.kind()) {
    case ControlKind::TextBox:
        return f(static_cast<TextBox&>(control));
    case ControlKind::CommandButton:
        return f(static_cast<CommandButton&>(control));
    case ControlKind::OptionButton:
        return f(static_cast<OptionButton&>(control));
    case ControlKind::Frame:
        return f(static_cast<Frame&>(control));
    case ControlKind::Shape:
        return f(static_cast<Shape&>(control));
    case ControlKind::Line:
        return f(static_cast<Line&>(control));
    case ControlKind::Image:
        return f(static_cast<Image&>(control));
    case ControlKind::Label:
        break;
    }
    return f(static_cast<Label&>(control));
}

} // namespace forms
