#pragma once
// The program's set of file types: one type, "ALLFILES", whose pattern ".*"
// matches every file, so the picture button takes a drop of anything.

#include "runtime/file.h"

namespace ALLFILESTYPE {
// The type; nil until Initialize has run.
extern Ref<FileType> pALLFILES;
// Every type of the set in order of definition; nil until its initialiser.
extern Ref<RuntimeArray<FileType>> pAllFileTypes;

void pALLFILES_Init();
void pAllFileTypes_Init();

// Defines "ALLFILES", appends it to the set and registers it.
void Initialize();
Ref<FileType> ALLFILES();
} // namespace ALLFILESTYPE
