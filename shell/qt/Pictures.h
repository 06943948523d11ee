#pragma once

// The pictures the screens show, loaded from the compiled-in assets on first use and kept by
// the view for the whole run: a handful of small files.

#include <QSvgRenderer>
#include <QTextDocument>

#include <memory>
#include <string>
#include <unordered_map>

namespace qt {

class Pictures {
  public:
    // A drawing, or nothing when the resource is missing or broken.
    QSvgRenderer* svg(const std::string& resource);
    // An instruction text laid out for the width it was written for, in pixels.
    QTextDocument& richText(const std::string& resource, int naturalWidth);

  private:
    std::unordered_map<std::string, std::unique_ptr<QSvgRenderer>> drawings_;
    std::unordered_map<std::string, std::unique_ptr<QTextDocument>> texts_;
};

} // namespace qt
