// The instruction paths hold round keys (round 0 is the key itself) in the vector
// registers: whatever the thread runs next could read them, in the driver the code
// that sent the request. Each path clears the registers it used before it returns.
// The clobbers make the compiler keep the caller's registers where the calling
// convention has it so (xmm6-15 on Windows), from before the clear.
#pragma once

#define SORV_XMM0_15                                                                       \
  "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10", \
      "xmm11", "xmm12", "xmm13", "xmm14", "xmm15"

// SSE encodings only: the AES-NI path runs in the kernel without saving the upper
// halves, which belong to the interrupted thread.
inline void ClearSseRegisters() {
  __asm__ volatile(
      ".irp r,0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15\n"
      "pxor %%xmm\\r, %%xmm\\r\n"
      ".endr" ::
          : "memory", SORV_XMM0_15);
}

// ymm0-15 whole (and zmm0-15 where there are).
inline void ClearAvxRegisters() { __asm__ volatile("vzeroall" ::: "memory", SORV_XMM0_15); }

#ifdef __AVX512F__
inline void ClearAvx512Registers() {
  __asm__ volatile(
      ".irp r,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31\n"
      "vpxord %%zmm\\r, %%zmm\\r, %%zmm\\r\n"
      ".endr\n"
      "vzeroall" ::
          : "memory", SORV_XMM0_15, "xmm16", "xmm17", "xmm18", "xmm19", "xmm20", "xmm21", "xmm22",
            "xmm23", "xmm24", "xmm25", "xmm26", "xmm27", "xmm28", "xmm29", "xmm30", "xmm31");
}
#endif
