#include "platform/gui/Resources.h"

#include <QFile>

#include "platform/Exceptions.h"

std::string ResourceBytes(const std::string& path) {
  QFile file(QString::fromUtf8(":/") + QString::fromUtf8(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) throw EResNotFound("Resource " + path + " not found");
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
