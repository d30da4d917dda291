// Watches the toolkit's warnings for painting gone wrong (a painter on a widget that cannot
// take one), which the toolkit only prints and a picture check may not notice.
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <mutex>

#include "tests/support/GuiTest.h"

namespace {

std::atomic<int> paintWarnings{0};
std::mutex lastMutex;
std::string lastWarning;
QtMessageHandler previous = nullptr;

void Watch(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QLatin1String("QPainter::")) ||
      message.startsWith(QLatin1String("QWidget::paintEngine"))) {
    ++paintWarnings;
    std::lock_guard<std::mutex> lock(lastMutex);
    lastWarning = message.toStdString();
  }
  if (previous) previous(type, context, message);
}

}  // namespace

void WatchPaintWarnings() {
  static std::once_flag installed;
  std::call_once(installed, [] { previous = qInstallMessageHandler(Watch); });
}

int PaintWarningCount() { return paintWarnings.load(); }

std::string LastPaintWarning() {
  std::lock_guard<std::mutex> lock(lastMutex);
  return lastWarning;
}
