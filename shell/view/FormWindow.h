#pragma once

// One window per form, one widget per control. After every event the view syncs the form's
// properties into the widgets; only what changed is passed on to Qt.

#include "Form.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

#include <optional>
#include <vector>

namespace view {

class View;

class FormWindow : public QWidget {
  public:
    FormWindow(forms::Form& form, View& view);

    forms::Form& form() const { return form_; }
    QWidget* widgetFor(const forms::Control* control) const;
    void sync();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // What was last given to a widget, so that an unchanged property costs nothing.
    struct Applied {
        std::optional<forms::Color> fore;
        std::optional<forms::Color> back;
        std::optional<forms::Font> font;
        std::string text;
        std::size_t paintKey = 0;
    };
    struct Entry {
        forms::Control* control;
        QWidget* widget;
        Applied applied;
    };

    QWidget* create(forms::Control& control, QWidget* parent);
    void syncControl(Entry& entry);
    void syncColours(Entry& entry);
    void showOrHide();

    forms::Form& form_;
    View& view_;
    std::vector<Entry> entries_;
    std::optional<forms::Color> back_;
};

} // namespace view
