// The fuzz targets' one check: a broken property traps, so libFuzzer keeps the input that broke it.
#pragma once

inline void Require(bool condition) {
  if (!condition) __builtin_trap();
}
