// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows beside a simulated register on a real pseudo-terminal.
#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "program_fixture.hpp"
#include "sim_process.hpp"

namespace ui_testing {

class ProgramAgainstSim : public Program {
 protected:
  // Connects to a simulated register of the variant through the main window.
  void connect_to(const e2e::SimProcess& sim, bool datecs, const char* speed = nullptr) {
    ui::MainWindow& w = windows->main_window;
    (datecs ? w.datecs_button : w.quendar_button)->setChecked(true);
    w.port_box->setEditText(QString::fromStdString(sim.port()));
    if (speed) w.speed_box->setCurrentText(QString::fromLatin1(speed));
    QTest::mouseClick(w.connect_button, Qt::LeftButton);
    settle();
  }
};

}  // namespace ui_testing
