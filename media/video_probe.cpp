#include "media/video_probe.h"

#include "app/app_state.h"
#include "app/message_box.h"
#include "media/avi_check.h"
#include "media/vfw_imports.h"

BOOL ProbeVideoFrameSize(HWND hwnd, LPCSTR pszName)
{
    PAVIFILE pFile;

    AVIFileInit();
    if (!IsWellFormedAvi(pszName) ||
        AVIFileOpenA(&pFile, pszName, OF_READ, NULL) != AVIERR_OK) {
        ShowMessage(hwnd, AVI_REFUSED_TEXT);
        AVIFileExit();
        return FALSE;
    }
    AVIFileInfoA(pFile, &AppState.aviInfo, sizeof(AppState.aviInfo));
    AVIFileRelease(pFile);
    AVIFileExit();
    return TRUE;
}
