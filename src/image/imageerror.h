// The one error that opening a solar image or finding its disk raises.
#pragma once

#include <QString>
#include <stdexcept>

namespace helidisk {

// what() is the whole message in UTF-8: for a file "FILE: problem".
class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void ThrowImageError(const QString& path, const QString& problem) {
  throw ImageError((path + QStringLiteral(": ") + problem).toStdString());
}

}  // namespace helidisk
