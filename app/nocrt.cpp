/* Without a C runtime the compiler may still emit calls to these for
   struct copies and clears. */
#include <stddef.h>

extern "C" void *memset(void *pDest, int iValue, size_t cb)
{
    unsigned char *p = static_cast<unsigned char *>(pDest);
    while (cb--)
        *p++ = static_cast<unsigned char>(iValue);
    return pDest;
}

extern "C" void *memcpy(void *pDest, const void *pSrc, size_t cb)
{
    unsigned char *p = static_cast<unsigned char *>(pDest);
    const unsigned char *q = static_cast<const unsigned char *>(pSrc);
    while (cb--)
        *p++ = *q++;
    return pDest;
}
