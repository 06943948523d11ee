#include "qt/Widgets.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace qt {
namespace {

constexpr auto kAnnouncer = "zifferix-announcer";

class NotificationAccessible : public QAccessibleWidget {
  public:
    explicit NotificationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<const QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* notifications(const QString&, QObject* object) {
    if (object != nullptr && object->isWidgetType() && object->objectName() == kAnnouncer) {
        return new NotificationAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(notifications);
        return true;
    }();
    (void)installed;
    setObjectName(kAnnouncer);
    setGeometry(0, 0, 0, 0);
    hide(); // shown first with something to say, not with its window
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Announcer::announce(const QString& text) {
    setText(text);
    hide();
    show();
}

TextLabel::Look TextLabel::look() const {
    return {text(),       font(),      palette().color(foregroundRole()),
            size(),       alignment(), wordWrap(),
            frameShape(), isEnabled(), devicePixelRatioF()};
}

void TextLabel::paintEvent(QPaintEvent*) {
    const Look now = look();
    if (now.size.isEmpty()) {
        return;
    }
    if (drawn_ != now) {
        picture_ = QPixmap(size() * now.pixelRatio);
        picture_.setDevicePixelRatio(now.pixelRatio);
        picture_.fill(Qt::transparent);
        QPainter painter(&picture_);
        painter.setFont(font());
        drawLabel(painter);
        drawn_ = now;
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

// The frame and the text where a label draws them: inside its frame, and a frame also keeps
// the text half an "x" away from the side it is aligned to.
void TextLabel::drawLabel(QPainter& painter) {
    drawFrame(&painter);
    QRect inside = contentsRect();
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(u'x') / 2 : 0;
    if (indent > 0) {
        if (align & Qt::AlignLeft) {
            inside.setLeft(inside.left() + indent);
        }
        if (align & Qt::AlignRight) {
            inside.setRight(inside.right() - indent);
        }
        if (align & Qt::AlignTop) {
            inside.setTop(inside.top() + indent);
        }
        if (align & Qt::AlignBottom) {
            inside.setBottom(inside.bottom() - indent);
        }
    }
    const int flags = int(align) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    style()->drawItemText(&painter, inside, flags, palette(), isEnabled(), text(),
                          foregroundRole());
}

AnswerBox::AnswerBox(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

// The middle button pastes the X11 selection: not into an answer.
void AnswerBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void AnswerBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace qt
