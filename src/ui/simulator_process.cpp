// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/simulator_process.hpp"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef __linux__
#include <sys/prctl.h>

#include <csignal>
#endif

namespace ui {

namespace {

constexpr int kStartWaitMs = 5000;
constexpr int kStopWaitMs = 3000;

}  // namespace

QString simulator_program() {
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {here + QStringLiteral("/talqen-sim"), here + QStringLiteral("/../sim/talqen-sim")})
    if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
  return {};
}

bool SimulatorProcess::start(const QString& protocol, QString& error, QString program) {
  if (program.isEmpty()) program = simulator_program();
  if (program.isEmpty()) {
    error = QStringLiteral("talqen-sim not found beside ") + QCoreApplication::applicationDirPath();
    return false;
  }
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#ifdef __linux__
  // However the program ends, killed included, the simulator ends with it.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
  process_.start(program, {QStringLiteral("--protocol"), protocol, QStringLiteral("--sample")});
  if (!process_.waitForStarted(kStartWaitMs)) {
    error = program + QStringLiteral(": ") + process_.errorString();
    return false;
  }
  // It prints "READY <path>" once its pseudo-terminal is open.
  while (!process_.canReadLine() && process_.waitForReadyRead(kStartWaitMs)) {
  }
  const QString line = QString::fromLocal8Bit(process_.readLine()).trimmed();
  if (!line.startsWith(QStringLiteral("READY "))) {
    error = program + QStringLiteral(" did not start");
    return false;
  }
  port_ = line.mid(6);
  return true;
}

SimulatorProcess::~SimulatorProcess() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(kStopWaitMs)) process_.kill();
  process_.waitForFinished(kStopWaitMs);
}

}  // namespace ui
