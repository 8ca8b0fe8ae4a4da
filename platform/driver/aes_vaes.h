// XTS-AES-128 with the vector AES instructions: two blocks a register with AVX2 and
// VAES, four with AVX-512 (F, VL and VBMI2, which every processor with VAES and
// AVX-512 has). Many data units a call, their first tweaks computed a
// register at a time. The round keys are the AES-NI schedules. Freestanding.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "aes_ni.h"

enum class VaesWidth : uint8_t { Bits256, Bits512 };

// Whether the processor has the instructions and the system keeps the registers
// (CPUID and XGETBV).
bool VaesAvailable(VaesWidth width);

// One width each, in files built for that instruction set: units data units of
// unitBytes each (a multiple of 16), numbered from firstUnit on; in and out may be the
// same buffer. Only where VaesAvailable(width).
void Vaes256Xts(bool encrypt, const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit,
                const uint8_t* in, uint8_t* out, size_t unitBytes, size_t units);
void Vaes512Xts(bool encrypt, const AesNiKey* data, const AesNiKey* tweak, uint64_t firstUnit,
                const uint8_t* in, uint8_t* out, size_t unitBytes, size_t units);
