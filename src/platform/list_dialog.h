// A small modal dialog: a titled list of items to pick one from, a button that confirms the pick
// (with or without a selection) and a button that gives up. Each press is handed to the caller,
// which may ask its own questions and says whether the dialog stays open. Headless the dialog
// picks nothing and confirms; what it offered and each press are printed to standard error.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vellum {

struct ListDialog {
  // All UTF-8.
  std::string title;
  std::string heading;      // the list's column heading
  std::string chooseLabel;  // the confirming button
  std::string quitLabel;    // the giving-up button
  std::string fontFace;     // preferred face for the texts
  std::vector<std::string> items;
  bool topmost = false;
};

enum class ListAction {
  Choose,  // the confirming button, with the selection (or none)
  Quit,    // the giving-up button
  Closed,  // the window was closed or the application is quitting
};

struct ListChoice {
  ListAction action = ListAction::Choose;
  int selected = -1;  // index into items, -1 for none
};

enum class ListReply { Close, KeepSelection, ClearSelection };

// Runs until `decide` answers Close; returns the choice it closed on.
ListChoice runListDialog(const ListDialog& dialog, const std::function<ListReply(const ListChoice&)>& decide);

// For tests: presses made in place of the headless dialog's (which picks nothing). Called again
// after each press that does not close the dialog; an empty function restores the headless form.
using ListDialogPresses = std::function<ListChoice(const ListDialog& dialog)>;
void setHeadlessListPresses(ListDialogPresses presses);

}  // namespace vellum
