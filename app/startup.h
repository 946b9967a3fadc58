#pragma once
// Start-up and shut-down, beneath the process's entry point.

#include "runtime/process.h"

#include <exception>
#include <vector>

// The program's entries of the initialiser table, in order.
const std::vector<Initializer>& ProgramInitializers();

// The whole run on the chosen backend: start-up, the event loop, shut-down.
// Returns the exit status.
int RunProgram();

// The steps of a run, each called once by the one before. Main gets what the
// runtime's initialisation or an initialiser raised, or nothing; a pending
// exception is reported at once and nothing is started.
void Main(std::exception_ptr pending);
void EarlyStartup();
void InitFileTypes();
void NewAppInstance();
void ApplicationAddMenuHandlers();
void LateStartup();
void MakeDefaultView();
