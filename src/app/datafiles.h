// The data files beside the program: the configuration with the greeting
// templates, the names and macro tables and the filter lists, each with an
// optional user file whose lines go first and so take precedence.
#pragma once

#include <string>

#include "app/context.h"

namespace datafiles {

// A data file in the user's folder or beside the program, or the
// program-named file with the fallback extension when it does not exist
// (empty: no fallback).
std::string DataFileName(const std::string& name, const std::string& fallbackExt);
// The program's path with another extension, as a data file (the user's
// copy first).
std::string ProgramFile(const std::string& ext);
// Splits configuration lines at the first "@Name" (any letter case) into
// before- and after-texts.
void SplitTemplates(listman::List* config, listman::List*& before, listman::List*& after);
// Loads configuration, names and macros, decoded with the run's escapes.
// False when the configuration cannot be read (its error is printed; the
// run goes to its end).
bool LoadData(app::Tables& tables, charset::EscapeTable* escapes);
// Loads an optional data file into a new list: a missing file is silent,
// any other failure (no permission, a folder) is reported and leaves the
// list empty.
void LoadOptional(const std::string& name, listman::List*& lines, charset::EscapeTable* escapes);
// Loads the filter lists (runs with a filter mode only).
void LoadFilters(app::Tables& tables, charset::EscapeTable* escapes);

}  // namespace datafiles
