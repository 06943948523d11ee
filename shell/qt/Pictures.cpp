#include "qt/Pictures.h"

#include <QFile>

namespace qt {
namespace {

QString assetPath(const std::string& resource) {
    return QStringLiteral(":/assets/") + QString::fromStdString(resource);
}

} // namespace

QSvgRenderer* Pictures::svg(const std::string& resource) {
    auto& renderer = drawings_[resource];
    if (!renderer) {
        renderer = std::make_unique<QSvgRenderer>(assetPath(resource));
    }
    return renderer->isValid() ? renderer.get() : nullptr;
}

QTextDocument& Pictures::richText(const std::string& resource, int naturalWidth) {
    auto& document = texts_[resource];
    if (!document) {
        document = std::make_unique<QTextDocument>();
        QFile file(assetPath(resource));
        if (file.open(QIODevice::ReadOnly)) {
            document->setHtml(QString::fromUtf8(file.readAll()));
        }
        document->setDocumentMargin(0);
    }
    if (document->textWidth() != naturalWidth) {
        document->setTextWidth(naturalWidth);
    }
    return *document;
}

} // namespace qt
