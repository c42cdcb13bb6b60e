#pragma once

// The Windows format library uses the standard Windows calling convention (the callee removes
// the arguments). It only differs from the default one on 32-bit Windows.
#if defined(_WIN32) && !defined(_WIN64)
#define CALVORA_WINAPI __stdcall
#else
#define CALVORA_WINAPI
#endif
