// Calling a library function with a run-time argument list, and telling
// whether it left the stack as it found it.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vorrik {

// Pushes count 32-bit arguments, args[0] at the lowest address, calls the
// function and returns its 32-bit result. balanced tells whether the stack
// pointer after the return equals the one before the pushes: a function that
// removes its own arguments (stdcall) leaves it so, any other does not. The
// stack is put right in either case.
uint32_t CallWithStackCheck(FARPROC function, const uint32_t* args, int count, bool* balanced);

}  // namespace vorrik
