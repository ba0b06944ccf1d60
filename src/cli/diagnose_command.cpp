#include "cli/diagnose_command.hpp"

#include <filesystem>

#include "app/config_file.hpp"
#include "app/connection_procedure.hpp"
#include "cli/raw_command.hpp"

namespace cli {

namespace {

// The main window as the command line fills it: port, speed and variant from the
// options; the status-bar text is what gets printed.
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

}  // namespace

int run_diagnose(const Options& options, const Terminal& terminal) {
  if (options.port.empty() || !options.arguments.empty()) {
    terminal.error("diagnose needs --port and takes no arguments");
    return kExitUsage;
  }
  std::error_code ec;
  messages::ConsoleState& console = messages::console();
  app::fix_program_directory(console, std::filesystem::current_path(ec).string());
  app::ensure_config_file(console.ConfigPath, messages::program_dialogs());

  CommandLineWindow window(options);
  app::ConnectionProcedure procedure(window);
  const app::ConnectionResult result = procedure.Button3Click();
  if (result == app::ConnectionResult::PortNotOpened) return kExitUsage;
  terminal.line(window.status);
  if (procedure.connected()) procedure.Button3Click();
  return result == app::ConnectionResult::Connected ? kExitDone : kExitFailed;
}

}  // namespace cli
