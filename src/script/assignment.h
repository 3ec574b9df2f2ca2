// The statements that write variables: cal assignments, int and string declarations, and binding
// a list of values to variables (getParam, getTag).
#pragma once

#include <string_view>

namespace vellum {

// Each comma-separated item is one assignment ("%a += 2", "$s = ...", "*($s 3)2 = 65").
void assign(std::string_view items);

// Declares (and optionally assigns) each item: "count", "count = 3", "$name = 1" (the name held in
// $name).
void declareIntegers(std::string_view items);
void declareStrings(std::string_view items);

// Binds sources (split at ',') to targets ("%a", "$b = default", ...).
void bindList(std::string_view targets, std::string_view sources);

}  // namespace vellum
