#pragma once
// Shared by the shell tests: a fresh settings store and process state per test, and a
// language file compiled from its text form.

#include <QString>

namespace apptest {

// Removes the program's settings file and resets every process-wide state.
void ResetProgramState();

// Compiles `source` (the text form of a language file) into a file in a temporary folder
// and opens it as the program's language file. Returns false (with a test failure) when
// the source does not compile or the file is refused.
bool OpenLanguageSource(const QString& source);

}  // namespace apptest
