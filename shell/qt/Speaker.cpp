#include "qt/Speaker.h"

#include <QLocale>
#include <QLoggingCategory>
#include <QPainter>
#include <QPainterPath>
#include <QTextToSpeech>

namespace qt {
namespace {

Q_LOGGING_CATEGORY(speechLog, "zifferix.speech", QtWarningMsg)

// A text that never begins within this time will not: what waits behind it may come.
constexpr int kSilenceMs = 4000;

} // namespace

Speaker::Speaker(std::function<void()> done, QObject* parent)
    : QObject(parent), done_(std::move(done)) {
    const QStringList engines = QTextToSpeech::availableEngines();
    if (engines.isEmpty()) {
        return;
    }
    const QString engine =
        engines.contains(QStringLiteral("speechd")) ? QStringLiteral("speechd") : engines.front();
    speech_ = new QTextToSpeech(engine, this);
    if (speech_->state() == QTextToSpeech::Error) {
        qCWarning(speechLog) << "speech engine" << engine << "fails:" << speech_->errorString();
        return;
    }
    for (const QLocale& locale : speech_->availableLocales()) {
        if (locale.language() == QLocale::German) {
            speech_->setLocale(locale);
            german_ = true;
            break;
        }
    }
    qCDebug(speechLog) << "engine" << engine << "German voice:" << german_;
    silence_.setSingleShot(true);
    connect(&silence_, &QTimer::timeout, this, [this] { finish(); });
    connect(speech_, &QTextToSpeech::stateChanged, this,
            [this](QTextToSpeech::State state) { changed(state); });
}

void Speaker::say(const std::string& text) {
    if (!german_) {
        return;
    }
    qCDebug(speechLog) << "says" << QString::fromStdString(text);
    saying_ = true;
    begun_ = false;
    speech_->say(QString::fromStdString(text));
    saying_ = false;
    silence_.start(kSilenceMs);
}

void Speaker::changed(int state) {
    qCDebug(speechLog) << "state" << state;
    if (state == QTextToSpeech::Speaking) {
        begun_ = true;
        silence_.stop();
    } else if (!saying_ &&
               (state == QTextToSpeech::Error || (state == QTextToSpeech::Ready && begun_))) {
        finish();
    }
}

void Speaker::finish() {
    silence_.stop();
    begun_ = false;
    done_();
}

SpeakerSign::SpeakerSign(bool german, QWidget* parent) : QAbstractButton(parent), german_(german) {
    setFocusPolicy(Qt::NoFocus); // the child's focus stays in the game; F2 does the same
    setCursor(Qt::PointingHandCursor);
    const QString name = german ? QStringLiteral("Noch einmal vorlesen (F2)")
                                : QStringLiteral("Dieses Gerät hat keine deutsche Stimme.");
    setAccessibleName(name);
    setToolTip(name);
}

void SpeakerSign::place(double zoom) {
    const int side = qRound(32 * zoom);
    const int margin = qRound(4 * zoom);
    setGeometry(parentWidget()->width() - side - margin, margin, side, side);
    raise();
}

// A loudspeaker with two waves, black on white, in the design's plain style.
void SpeakerSign::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / 32.0, height() / 32.0);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(isDown() ? QColor(0xc0c0c0) : QColor(Qt::white));
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 4, 4);
    QPainterPath speaker;
    speaker.moveTo(6, 12);
    speaker.lineTo(11, 12);
    speaker.lineTo(17, 6);
    speaker.lineTo(17, 26);
    speaker.lineTo(11, 20);
    speaker.lineTo(6, 20);
    speaker.closeSubpath();
    painter.setBrush(Qt::black);
    painter.drawPath(speaker);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    if (german_) {
        painter.drawArc(QRectF(14, 11, 8, 10), -60 * 16, 120 * 16);
        painter.drawArc(QRectF(13, 7, 14, 18), -60 * 16, 120 * 16);
    } else {
        painter.drawLine(QPointF(20, 12), QPointF(27, 20));
        painter.drawLine(QPointF(27, 12), QPointF(20, 20));
    }
}

} // namespace qt
