// The windows of the desktop program, created in the program's order: the main window,
// the About box, the attention window and the journal window. The command console's
// state needs no window of its own.
#pragma once

#include <string>

#include "ui/tform3.hpp"
#include "ui/tform4.hpp"
#include "ui/tform53.hpp"
#include "ui/tform54.hpp"

namespace ui {

struct ProgramWindows {
  ProgramWindows(messages::ConsoleState& console, messages::Dialogs& dialogs, device_link::Clock& clock,
                 std::string temp_xml_path = "temp.xml")
      : form3(console, dialogs, clock),
        form54(&form3),
        form53(console, dialogs, form4, form3, [this] { return form3.datecs_selected(); }, clock,
               std::move(temp_xml_path)) {
    form3.attach(form54, form53, form53.logic().flags);
  }

  TForm3 form3;
  TForm54 form54;
  TForm4 form4;
  TForm53 form53;
};

}  // namespace ui
