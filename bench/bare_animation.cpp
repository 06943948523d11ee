// The yardstick for animation: the smallest Qt Widgets program that moves three numbers across
// a maximised window every 16 ms, as flying numbers do, each number drawn once into a picture and
// then only copied. Whatever Zifferix spends beyond it is its own.

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <array>

namespace {

class Number : public QWidget {
  public:
    Number(const QString& text, QWidget* parent) : QWidget(parent) {
        QFont font(QStringLiteral("Comic Neue"));
        font.setPixelSize(44); // 26.25 points at the zoom of a 1280 x 1024 screen
        font.setBold(true);
        const QSize size = QFontMetrics(font).size(0, text);
        picture_ = QPixmap(size);
        picture_.fill(Qt::transparent);
        QPainter painter(&picture_);
        painter.setFont(font);
        painter.drawText(QRect(QPoint(), size), Qt::AlignCenter, text);
        resize(size);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, picture_); }

  private:
    QPixmap picture_;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    QWidget window;
    window.setWindowTitle(QStringLiteral("bare animation"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0x80, 0xFF));
    window.setPalette(palette);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());

    struct Flight {
        Number* number;
        QPoint step;
    };
    std::array<Flight, 3> flights{{{new Number(QStringLiteral("-17"), &window), {4, 5}},
                                   {new Number(QStringLiteral("23"), &window), {5, 4}},
                                   {new Number(QStringLiteral("8"), &window), {6, 3}}}};
    for (std::size_t i = 0; i < flights.size(); ++i)
        flights[i].number->move(100 + 300 * static_cast<int>(i), 100 + 150 * static_cast<int>(i));
    window.showMaximized();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (Flight& f : flights) {
            const QPoint next = f.number->pos() + f.step;
            if (next.x() < 0 || next.x() + f.number->width() > window.width())
                f.step.rx() = -f.step.x();
            if (next.y() < 0 || next.y() + f.number->height() > window.height())
                f.step.ry() = -f.step.y();
            f.number->move(next);
        }
    });
    timer.start(16);
    return QApplication::exec();
}
