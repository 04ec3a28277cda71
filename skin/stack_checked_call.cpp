#include "skin/stack_checked_call.h"

namespace vorrik {

uint32_t CallWithStackCheck(FARPROC function, const uint32_t* args, int count, bool* balanced) {
  uint32_t result, before, after;
  // esi and edi survive the call (callee-saved in every x86 convention), so
  // they carry the stack positions across it; eax, ecx and edx do not.
  __asm__ volatile(
      "movl %%esp, %%esi\n\t"        // where the stack must be after the call
      "testl %%ecx, %%ecx\n\t"
      "jle 2f\n"
      "1:\n\t"
      "pushl -4(%%edx,%%ecx,4)\n\t"  // last argument first, so args[0] ends lowest
      "decl %%ecx\n\t"
      "jnz 1b\n"
      "2:\n\t"
      "call *%%eax\n\t"
      "movl %%esp, %%edi\n\t"        // where the callee left it
      "movl %%esi, %%esp\n\t"        // drop whatever it left, or took too much
      : "=a"(result), "=S"(before), "=D"(after), "+c"(count), "+d"(args)
      : "0"(function)
      : "memory", "cc");
  *balanced = before == after;
  return result;
}

}  // namespace vorrik
