// helidisk-render writing into a pipe whose reader closes it early, as
// `helidisk-render --table ... | head -1` does: the run ends of itself,
// with SIGPIPE's conventional status 141 and nothing on standard error,
// whether the parent left SIGPIPE to its default or ignored it (as some
// launchers do, and the child inherits).
#include <fcntl.h>
#include <unistd.h>

#include <QProcess>
#include <QTest>
#include <array>
#include <cerrno>
#include <csignal>

namespace helidisk {

class ClosedPipeTest : public QObject {
  Q_OBJECT

 private slots:
  void endsQuietlyWithSigpipeStatus_data();
  void endsQuietlyWithSigpipeStatus();
};

// Each output is far more than a pipe holds (64 KiB), so the run is still
// writing when the reader goes.
void ClosedPipeTest::endsQuietlyWithSigpipeStatus_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("ignoreSigpipe");
  const QStringList table = {"--table", "--from", "2026-01-01T00:00", "--to", "2026-12-31T00:00",
                             "--step",  "1h"};
  const QStringList picture = {"--hour", "30", "--output", "-", "--format", "svg"};
  QTest::newRow("table, SIGPIPE default") << table << false;
  QTest::newRow("table, SIGPIPE ignored") << table << true;
  QTest::newRow("picture, SIGPIPE default") << picture << false;
  QTest::newRow("picture, SIGPIPE ignored") << picture << true;
}

// Reads from the descriptor up to the first line's end; false when the
// stream ended or failed first.
bool ReadFirstLine(int fd) {
  char byte = 0;
  while (true) {
    const ssize_t got = ::read(fd, &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got != 1) return false;
    if (byte == '\n') return true;
  }
}

void ClosedPipeTest::endsQuietlyWithSigpipeStatus() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, ignoreSigpipe);
  // A pipe of the test's own in place of QProcess's, whose read end
  // QProcess never closes early; both ends close on exec, so that only the
  // child's standard output is left writing into it.
  std::array<int, 2> ends{};
  QCOMPARE(::pipe2(ends.data(), O_CLOEXEC), 0);
  const int readEnd = ends[0];
  const int writeEnd = ends[1];
  QProcess process;
  process.setChildProcessModifier([ignoreSigpipe, writeEnd] {
    std::signal(SIGPIPE, ignoreSigpipe ? SIG_IGN : SIG_DFL);
    ::dup2(writeEnd, STDOUT_FILENO);
  });
  process.start(QStringLiteral(HELIDISK_RENDER_PROGRAM), arguments);
  const bool started = process.waitForStarted(60000);
  ::close(writeEnd);
  const bool readLine = started && ReadFirstLine(readEnd);
  ::close(readEnd);
  QVERIFY(started);
  QVERIFY(readLine);
  QVERIFY(process.waitForFinished(60000));
  QCOMPARE(process.exitStatus(), QProcess::NormalExit);
  QCOMPARE(process.exitCode(), 141);
  QCOMPARE(process.readAllStandardError(), QByteArray());
}

}  // namespace helidisk

QTEST_GUILESS_MAIN(helidisk::ClosedPipeTest)
#include "closedpipe_test.moc"
