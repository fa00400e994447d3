// A long session of dragging: many consecutive redraws of the same window,
// through the scroll bar as the user moves it, in both grid modes.  The
// resident memory must level off after the first redraws.
#include <QCheckBox>
#include <QFile>
#include <QScrollBar>
#include <QtTest>
#include <cstdlib>

#include "application.h"
#include "form_main.h"

namespace helidisk {

namespace {

// Kilobytes resident, from the kernel's view of this process.
long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  }
  return -1;
}

int RedrawCount() {
  const char* configured = std::getenv("HELIDISK_SOAK_REDRAWS");
  return configured != nullptr ? std::atoi(configured) : 100000;
}

}  // namespace

class SoakTest : public QObject {
  Q_OBJECT

 private slots:
  void residentMemoryLevelsOff();
};

void SoakTest::residentMemoryLevelsOff() {
  QStringList errors;
  const ErrorReporter savedReporter =
      SetErrorReporter([&errors](const QString& message) { errors.push_back(message); });
  TForm_Main window;
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto* scrollBar = window.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
  auto* checkBox = window.findChild<QCheckBox*>(QStringLiteral("CheckBox_DiffRot"));
  QVERIFY(scrollBar != nullptr && checkBox != nullptr);

  const int redraws = RedrawCount();
  const int warmUp = std::min(1000, redraws / 2);
  long settledKilobytes = 0;
  for (int redraw = 1; redraw <= redraws; ++redraw) {
    // Each change of position is one redraw; halfway the grid changes mode.
    scrollBar->setValue((scrollBar->value() + 97) % (scrollBar->maximum() + 1));
    if (redraw == redraws / 2) checkBox->setChecked(!checkBox->isChecked());
    if (redraw % 64 == 0) QCoreApplication::processEvents();
    if (redraw == warmUp) settledKilobytes = ResidentKilobytes();
  }
  QCoreApplication::processEvents();
  const long finalKilobytes = ResidentKilobytes();
  SetErrorReporter(savedReporter);

  qInfo("%d redraws: resident %ld kB after %d, %ld kB at the end", redraws, settledKilobytes,
        warmUp, finalKilobytes);
  QVERIFY(errors.isEmpty());
#ifndef HELIDISK_SANITIZED_HEAP
  // A leak of even 20 bytes per redraw would show here.  (AddressSanitizer
  // holds freed memory back on purpose, so there LeakSanitizer checks
  // instead, at exit.)
  QVERIFY(settledKilobytes > 0);
  QVERIFY2(finalKilobytes - settledKilobytes < 2048,
           qPrintable(QStringLiteral("grew by %1 kB").arg(finalKilobytes - settledKilobytes)));
#endif
}

}  // namespace helidisk

QTEST_MAIN(helidisk::SoakTest)
#include "soak_test.moc"
