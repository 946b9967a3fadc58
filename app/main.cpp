// Tamzel: files dropped on the picture, or chosen after a click, become
// BinHex files.

#include "runtime/qt/qt_platform.h"
#include "startup.h"

int main(int argc, char** argv) {
    RuntimeSelectBackend(CreateQtPlatform(argc, argv));
    return RunProgram();
}
