#ifndef QV_MEDIA_VFW_IMPORTS_H
#define QV_MEDIA_VFW_IMPORTS_H

#include <windows.h>
#include <vfw.h>

/* vfw.h declares these without dllimport, which gives each one a jump stub
   in the image; declared as imports, they are called through the import
   table like every other platform function. */
extern "C" {
__declspec(dllimport) void WINAPI AVIFileInit(void);
__declspec(dllimport) void WINAPI AVIFileExit(void);
__declspec(dllimport) HRESULT WINAPI AVIFileOpenA(PAVIFILE *ppfile, LPCSTR szFile, UINT uMode,
                                                  LPCLSID lpHandler);
__declspec(dllimport) HRESULT WINAPI AVIFileInfoA(PAVIFILE pfile, LPAVIFILEINFOA pfi, LONG lSize);
__declspec(dllimport) ULONG WINAPI AVIFileRelease(PAVIFILE pfile);
__declspec(dllimport) BOOL WINAPI GetOpenFileNamePreviewA(LPOPENFILENAMEA lpofn);
}

#endif
