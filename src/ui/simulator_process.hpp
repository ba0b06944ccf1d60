// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated register that `talqen --simulator` runs beside the program: talqen-sim
// with its sample journal on a pseudo-terminal, stopped when the program ends.
#pragma once

#include <QProcess>
#include <QString>

namespace ui {

class SimulatorProcess {
 public:
  SimulatorProcess() = default;
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Starts it (program: talqen-sim's path, or empty to look for it beside this program)
  // and waits at most a few seconds for its port; false with the reason in error when it
  // cannot be found or does not start.
  bool start(const QString& protocol, QString& error, QString program = {});
  const QString& port() const { return port_; }

 private:
  QProcess process_;
  QString port_;
};

// talqen-sim beside the program (installed) or in the build tree.
QString simulator_program();

}  // namespace ui
