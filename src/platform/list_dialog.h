// A small modal dialog: a titled list of items to pick one from, a button that confirms the pick
// (with or without a selection) and a button that gives up. Headless it picks nothing and confirms;
// what it offered is printed to standard error.
#pragma once

#include <string>
#include <vector>

namespace vellum {

struct ListDialog {
  // All UTF-8.
  std::string title;
  std::string heading;
  std::string chooseLabel;
  std::string quitLabel;
  std::vector<std::string> items;
};

enum class ListAction { Choose, Quit };

struct ListChoice {
  ListAction action = ListAction::Choose;
  int selected = -1;  // index into items, -1 for none
};

ListChoice runListDialog(const ListDialog& dialog);

}  // namespace vellum
