// Test builds only: points one import slot of the player at a function of
// the test's own, so that one platform call misbehaves on the real loader.
#pragma once

#ifdef _WIN64
#define REPLACE_IMPORT(name, decorated32, fn) \
    extern "C" void *__imp_##name;           \
    void *__imp_##name = reinterpret_cast<void *>(fn)
#else
#define REPLACE_IMPORT(name, decorated32, fn)                 \
    extern "C" void *imp_##name __asm__("__imp__" decorated32); \
    void *imp_##name = reinterpret_cast<void *>(fn)
#endif
