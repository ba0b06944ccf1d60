// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/connection_procedure.hpp"

#include <cstdlib>

#include "app/config_file.hpp"
#include "app/profile_file.hpp"
#include "link/abort.hpp"
#include "link/datecs.hpp"
#include "link/quendar.hpp"
#include "link/serial_port.hpp"
#include "messages/error_codes.hpp"
#include "text/cp1251.hpp"
#include "text/wording.hpp"

using namespace text::literals;

namespace app {

namespace {


std::string wrong_protocol() {
  return text::say(TALQEN_PHRASE("Connection", "Подключения нет. Возможно использование не того протокола обмена данными"));
}

// A field of a result, or empty where the reply had fewer fields.
std::string field(const datecs::RetData& r, int index) {
  return index < r.FieldCount && r.Fields[index] ? r.Fields[index] : "";
}

}  // namespace

ConnectionResult ConnectionProcedure::toggle_connection() { return connected_ ? disconnect() : connect(); }

void ConnectionProcedure::show_connected() {
  connected_ = true;
  view_.set_journal_menu_enabled(true);
  view_.set_indicator_connected(true);
  view_.set_connect_caption(text::say(TALQEN_PHRASE("Connection", "Отключить")));
  view_.set_port_boxes_enabled(false);
}

void ConnectionProcedure::show_not_connected() {
  connected_ = false;
  view_.set_journal_menu_enabled(false);
  view_.set_indicator_connected(false);
  view_.set_connect_caption(text::say(TALQEN_PHRASE("Connection", "Подключить")));
  view_.set_port_boxes_enabled(true);
  view_.set_variant_buttons_enabled(true);
}

ConnectionResult ConnectionProcedure::connect() {
  const std::string& config = program_.config_path;
  if (read_profile_integer(config, "LogFile", "Log", 0) != 0)
    quendar::set_log_name(read_profile_text(config, "LogFile", "LogName", "Talqen.log", kLogNameLimit));
  quendar::set_reply_count(read_profile_integer(config, "Fiscal Printer", "Reply", 1));
  datecs::set_quick_end(read_profile_integer(config, "Fiscal Printer", "QuickEnd", 0) != 0);

  const std::string port = view_.port_text();
  const std::string speed = view_.speed_text();
  const int baud = std::atoi(speed.c_str());
  const bool datecs_variant = view_.datecs_selected();
  const int opened = datecs_variant ? datecs::open_port(port, baud) : quendar::open_port(port, baud);
  if (opened == -1) {
    std::string told = text::say(TALQEN_PHRASE("Connection", "Невозможно подключить порт"));
    const std::string reason = device_link::last_open_error();
    if (!reason.empty()) told += "\n" + reason;
    dialogs_.show_message(told);
    return ConnectionResult::PortNotOpened;
  }
  show_connected();

  ConnectionResult result = ConnectionResult::Connected;
  std::optional<std::string> quendar_status;
  if (datecs_variant) {
    if (!check_datecs()) {
      if (datecs::close_port() != 0) {
        show_not_connected();
        view_.set_status_text(wrong_protocol());
        return ConnectionResult::CheckFailed;
      }
      result = ConnectionResult::StuckOpen;  // goes on as after a passed check
    }
  } else {
    bool closed = false;
    quendar_status = check_quendar(closed);
    if (!quendar_status) {
      if (!closed) return ConnectionResult::StuckOpen;
      show_not_connected();
      view_.set_status_text(wrong_protocol());
      return ConnectionResult::CheckFailed;
    }
  }
  // A file that cannot be read keeps the user's settings untouched; they are told.
  // The variant is kept beside them, so that the next start selects what connected.
  if (store_port_and_speed(config, port, speed) == ProfileWrite::Unreadable)
    dialogs_.show_message(text::say(TALQEN_PHRASE("Connection", "Файл fpinit.ini не читается: порт и скорость не сохранены")));
  else
    store_protocol(config, datecs_variant ? ProtocolVariant::Datecs : ProtocolVariant::Quendar);
  if (quendar_status) view_.set_status_text(*quendar_status);
  view_.set_variant_buttons_enabled(false);
  return result;
}

std::optional<std::string> DatecsIdentity(const datecs::RetData& r) {
  constexpr int kDiagnosticFields = 8;
  if (r.FieldCount != kDiagnosticFields) return std::nullopt;
  return field(r, 0) + "    " + field(r, 6);
}

std::string QuendarIdentity(const datecs::RetData& r) {
  std::string identity = text::say(TALQEN_PHRASE("Connection", "   Модель:%1,    Версия:%2,     %3."),
                                   {field(r, 0), field(r, 1), field(r, 2)});
  if (r.StatusBytes[0] & 0x01) identity += text::say(TALQEN_PHRASE("Connection", " Сервис.реж."));
  return identity;
}

bool ConnectionProcedure::check_datecs() {
  {
    const messages::ResultRoute route(reporter_);
    datecs::datecs_diagnostic_info(PrinterResultsx);
  }
  const std::optional<std::string> identity = DatecsIdentity(program_.last_datecs_result);
  if (!identity) return false;
  view_.set_status_text(*identity);
  return true;
}

std::optional<std::string> ConnectionProcedure::check_quendar(bool& closed) {
  const datecs::RetData r = quendar::quendar_diagnostic_info(kCheckPassword);
  std::string error;
  if (!messages::ReplyAccepted(r, error)) {
    // A user who gave up waiting needs no word of the time-out.
    if (!device_link::abort_requested())
      dialogs_.show_message(text::say(TALQEN_PHRASE("Connection", "Проверка состояния регистратора:\n  %1"), {error}));
    closed = quendar::close_port() != 0;
    return std::nullopt;
  }
  return QuendarIdentity(r);
}

ConnectionResult ConnectionProcedure::disconnect() {
  const int closed = view_.datecs_selected() ? datecs::close_port() : quendar::close_port();
  if (closed == 0) {
    view_.set_variant_buttons_enabled(true);
    return ConnectionResult::DisconnectFailed;
  }
  show_not_connected();
  view_.set_status_text("");
  return ConnectionResult::Disconnected;
}

}  // namespace app
