// The program's side of Add-In discovery: the "*.dll" files in the
// program's folder, loaded with the system loader, and the resources of the
// built-in tools.
#pragma once

// Builds the Add-In host's tables from the DLLs beside the program and loads
// the built-in tools' buttons and cursors. The current directory becomes the
// program's folder (or the shell state's Add-In folder, where one is set)
// while the DLLs are searched.
void discover_program_addins();
// Frees the tables and unloads every kept Add-In.
void release_program_addins();
