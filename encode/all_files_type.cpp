#include "all_files_type.h"

namespace ALLFILESTYPE {
Ref<FileType> pALLFILES;
Ref<RuntimeArray<FileType>> pAllFileTypes;

// The type is made by Initialize; until then the property keeps its nil.
void pALLFILES_Init() {}

void pAllFileTypes_Init() {
    pAllFileTypes = CreateArray<FileType>();
}

Ref<FileType> ALLFILES() {
    return pALLFILES;
}

void Initialize() {
    pALLFILES = RuntimeNewObject<FileType>();
    RequireObject(pALLFILES, "ALLFILES")->Name("ALLFILES");
    RequireObject(pALLFILES, "ALLFILES")->Extensions(".*");
    RequireObject(pALLFILES, "ALLFILES")->MacType("");
    RequireObject(pALLFILES, "ALLFILES")->MacCreator("");
    RequireObject(pALLFILES, "ALLFILES")->MimeType("");
    RequireObject(pALLFILES, "ALLFILES")->Imported(true);
    RequireObject(pALLFILES, "ALLFILES")->ConformsTo("");

    RequireObject(pAllFileTypes, "file types")->Insert(pAllFileTypes->Ubound() + 1, pALLFILES);

    Ref<FileType> type = ALLFILES();
    // The conversion to String is what registers the type.
    std::string name = RequireObject(type, "ALLFILES")->Operator_Convert();
    (void)name;
}
} // namespace ALLFILESTYPE
