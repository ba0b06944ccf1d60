// SPDX-License-Identifier: GPL-3.0-or-later
// A connection to the register made as the main window's "Подключить" makes it, from the
// command line: fpinit.ini in the current directory, port, speed and variant from the
// options. It disconnects when it ends.
#pragma once

#include <string>

#include "app/connection_procedure.hpp"
#include "cli/cli_options.hpp"
#include "cli/terminal_output.hpp"

namespace cli {

class RegisterSession {
 public:
  RegisterSession(const Options& options, messages::ProgramState& program, messages::RetrievalFlags& flags,
                  messages::Dialogs& dialogs);
  ~RegisterSession();
  RegisterSession(const RegisterSession&) = delete;
  RegisterSession& operator=(const RegisterSession&) = delete;

  app::ConnectionResult connect();
  bool connected() const { return procedure_.connected(); }
  // The status-bar text the connection left.
  const std::string& status() const { return window_.status; }
  // A connection that did not pass, told on stderr: the status-bar text, a hint when the
  // line gave no usable reply (a wrong speed or variant looks like that), or the stop by
  // a signal. The exit status.
  int report_failure(app::ConnectionResult result, const Terminal& terminal) const;

 private:
  class CommandLineWindow final : public app::MainWindowView {
   public:
    explicit CommandLineWindow(const Options& o) : options_(o) {}
    std::string port_text() const override { return options_.port; }
    std::string speed_text() const override { return std::to_string(options_.speed); }
    bool datecs_selected() const override { return options_.protocol == Protocol::Datecs; }
    void set_indicator_connected(bool) override {}
    void set_connect_caption(std::string_view) override {}
    void set_port_boxes_enabled(bool) override {}
    void set_variant_buttons_enabled(bool) override {}
    void set_journal_menu_enabled(bool) override {}
    void set_status_text(std::string_view text) override { status = text; }

    std::string status;

   private:
    const Options& options_;
  };

  const Options& options_;
  const messages::ProgramState& program_;
  CommandLineWindow window_;
  app::ConnectionProcedure procedure_;
};

// The exit status of a connection that did not pass: 2 for a port that cannot be opened,
// 1 for a register that did not answer as it should, 128 + the signal that stopped it.
int exit_status_of_failed(app::ConnectionResult result);

}  // namespace cli
