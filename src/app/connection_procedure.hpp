// SPDX-License-Identifier: GPL-3.0-or-later
// Connecting to the register and disconnecting again: the main window's connect button. The
// procedure drives the window through a small view, so the desktop program, talqen-cli
// and tests share it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "messages/dialogs.hpp"
#include "messages/status_reporter.hpp"

namespace app {

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  virtual std::string port_text() const = 0;
  virtual std::string speed_text() const = 0;
  virtual bool datecs_selected() const = 0;
  virtual void set_indicator_connected(bool connected) = 0;  // lime or red
  virtual void set_connect_caption(std::string_view caption) = 0;
  virtual void set_port_boxes_enabled(bool enabled) = 0;       // port and speed
  virtual void set_variant_buttons_enabled(bool enabled) = 0;  // Datecs and Quendar
  virtual void set_journal_menu_enabled(bool enabled) = 0;
  virtual void set_status_text(std::string_view text) = 0;
};

// The status-bar text for a register's answer to its variant's diagnostic command: for
// the Datecs variant fields 1 and 7 of its eight, nothing for another field count; for
// the Quendar variant (after its error code passed) model, version and number.
std::optional<std::string> DatecsIdentity(const datecs::RetData& result);
std::string QuendarIdentity(const datecs::RetData& result);

// The password the Quendar check sends: the register's default.
inline constexpr std::string_view kCheckPassword = "271828";

enum class ConnectionResult {
  PortNotOpened,  // nothing changed
  CheckFailed,    // port closed again, not connected
  Connected,      // the register answered
  StuckOpen,      // a failed check whose port could not be closed: shown as connected
  Disconnected,
  DisconnectFailed,
};

class ConnectionProcedure {
 public:
  // Uses the program's drivers; the Datecs results go through PrinterResultsx to the
  // given program state and flags, every message to the given dialogs.
  ConnectionProcedure(MainWindowView& view, messages::ProgramState& program, messages::RetrievalFlags& flags,
                      messages::Dialogs& dialogs)
      : view_(view), program_(program), dialogs_(dialogs), reporter_(program, flags, dialogs) {}

  // The connect button: connects when not connected, else disconnects.
  ConnectionResult toggle_connection();
  ConnectionResult connect();
  ConnectionResult disconnect();
  bool connected() const { return connected_; }

 private:
  bool check_datecs();
  // The Quendar check: the status-bar text, or nothing when it failed (closed then
  // tells whether the port was closed).
  std::optional<std::string> check_quendar(bool& closed);
  void show_connected();
  void show_not_connected();

  MainWindowView& view_;
  messages::ProgramState& program_;
  messages::Dialogs& dialogs_;
  messages::StatusReporter reporter_;
  bool connected_ = false;  // the indicator is not red
};

}  // namespace app
