// The program's own code calls a system function through the test program's
// import slot for it; a test may point the slot at a stand-in that answers as
// a system or a disk would that Wine cannot be. Slots as the linker names them.
#pragma once

#ifdef _WIN64
#define IMPORT_SLOT(function, argumentBytes) __asm__("__imp_" #function)
#else
#define IMPORT_SLOT(function, argumentBytes) __asm__("__imp__" #function "@" #argumentBytes)
#endif
