#include "media/avi_check.h"

#include <vfw.h>

/* Headers of real movies hold a few dozen chunks; a file with more is
   refused rather than walked, so the check costs the same for any file. */
#define AVI_MAX_CHUNKS 4096
#define AVI_MAX_FILE   0xFFFFFFFEu /* keeps every offset + 1 in 32 bits */

#define AVIH_MIN_SIZE        56 /* MainAVIHeader */
#define AVIH_STREAMS_OFFSET  24 /* dwStreams */
#define STRH_MIN_SIZE        48 /* AVIStreamHeader without rcFrame */
#define STRF_MIN_SIZE_VIDEO  40 /* BITMAPINFOHEADER */
#define STRF_MIN_SIZE_AUDIO  14 /* WAVEFORMAT */

typedef struct tagRIFFREADER {
    HANDLE hFile;
    DWORD cbFile;
    UINT cChunks;
} RIFFREADER;

typedef struct tagRIFFCHUNK {
    FOURCC fcc;
    DWORD cb;    /* size of the data */
    DWORD dwData; /* offset of the data */
} RIFFCHUNK;

static BOOL ReadAt(RIFFREADER *pr, DWORD dwOffset, void *pv, DWORD cb)
{
    DWORD cbRead;

    if (dwOffset > pr->cbFile || cb > pr->cbFile - dwOffset)
        return FALSE;
    if (SetFilePointer(pr->hFile, static_cast<LONG>(dwOffset), NULL, FILE_BEGIN) ==
        INVALID_SET_FILE_POINTER)
        return FALSE;
    return ReadFile(pr->hFile, pv, cb, &cbRead, NULL) && cbRead == cb;
}

static BOOL IsPrintableFourCC(FOURCC fcc)
{
    for (int i = 0; i < 4; ++i) {
        BYTE b = static_cast<BYTE>(fcc >> (8 * i));
        if (b < 0x20 || b > 0x7E)
            return FALSE;
    }
    return TRUE;
}

/* Reads the chunk header at dwOffset; the chunk must end by dwLimit. */
static BOOL ReadChunk(RIFFREADER *pr, DWORD dwOffset, DWORD dwLimit, RIFFCHUNK *pc)
{
    DWORD adw[2];

    if (++pr->cChunks > AVI_MAX_CHUNKS || dwOffset > dwLimit || dwLimit - dwOffset < 8 ||
        !ReadAt(pr, dwOffset, adw, sizeof(adw)))
        return FALSE;
    pc->fcc = adw[0];
    pc->cb = adw[1];
    pc->dwData = dwOffset + 8;
    return IsPrintableFourCC(pc->fcc) && pc->cb <= dwLimit - pc->dwData;
}

static DWORD ChunkEnd(const RIFFCHUNK *pc)
{
    return pc->dwData + pc->cb;
}

static DWORD NextChunk(const RIFFCHUNK *pc)
{
    return ChunkEnd(pc) + (pc->cb & 1); /* chunks are padded to even sizes */
}

static BOOL IsList(RIFFREADER *pr, const RIFFCHUNK *pc, FOURCC fccType)
{
    FOURCC fcc;

    return pc->fcc == FOURCC_LIST && pc->cb >= 4 && ReadAt(pr, pc->dwData, &fcc, 4) &&
           fcc == fccType;
}

/* A stream list: its header, then its format, each of a usable size. */
static BOOL CheckStreamList(RIFFREADER *pr, const RIFFCHUNK *pList)
{
    RIFFCHUNK c;
    FOURCC fccType = 0;
    BOOL bFormat = FALSE;
    DWORD cbMinFormat = 1;

    for (DWORD dw = pList->dwData + 4; dw < ChunkEnd(pList); dw = NextChunk(&c)) {
        if (!ReadChunk(pr, dw, ChunkEnd(pList), &c))
            return FALSE;
        if (c.fcc == mmioFOURCC('s', 't', 'r', 'h')) {
            if (fccType != 0 || c.cb < STRH_MIN_SIZE || !ReadAt(pr, c.dwData, &fccType, 4))
                return FALSE;
            if (fccType == streamtypeVIDEO)
                cbMinFormat = STRF_MIN_SIZE_VIDEO;
            else if (fccType == streamtypeAUDIO)
                cbMinFormat = STRF_MIN_SIZE_AUDIO;
        } else if (c.fcc == mmioFOURCC('s', 't', 'r', 'f')) {
            if (fccType == 0 || bFormat || c.cb < cbMinFormat)
                return FALSE;
            bFormat = TRUE;
        }
    }
    return bFormat;
}

/* The header list: the main header first, then as many stream lists as it
   declares, at least one. */
static BOOL CheckHeaderList(RIFFREADER *pr, const RIFFCHUNK *pList)
{
    RIFFCHUNK c;
    DWORD dwStreams, cStreams = 0;
    DWORD dw = pList->dwData + 4;

    if (!ReadChunk(pr, dw, ChunkEnd(pList), &c) || c.fcc != mmioFOURCC('a', 'v', 'i', 'h') ||
        c.cb < AVIH_MIN_SIZE || !ReadAt(pr, c.dwData + AVIH_STREAMS_OFFSET, &dwStreams, 4))
        return FALSE;
    for (dw = NextChunk(&c); dw < ChunkEnd(pList); dw = NextChunk(&c)) {
        if (!ReadChunk(pr, dw, ChunkEnd(pList), &c))
            return FALSE;
        if (IsList(pr, &c, mmioFOURCC('s', 't', 'r', 'l'))) {
            if (!CheckStreamList(pr, &c))
                return FALSE;
            ++cStreams;
        }
    }
    return dwStreams >= 1 && cStreams == dwStreams;
}

static BOOL IsTailEnd(RIFFREADER *pr, DWORD dwOffset)
{
    DWORD adw[2];

    if (pr->cChunks > AVI_MAX_CHUNKS || !ReadAt(pr, dwOffset, adw, sizeof(adw)))
        return FALSE;
    return (adw[0] == 0 && adw[1] == 0) || IsPrintableFourCC(adw[0]);
}

/* The RIFF form: the header list must lie whole within the file; what
   follows it (the movie data, the index) may be cut short, as in a movie
   whose copy was interrupted, but must still read as chunks. */
static BOOL CheckRiff(RIFFREADER *pr)
{
    DWORD adw[3];
    RIFFCHUNK c;
    BOOL bHeader = FALSE;
    DWORD dwEnd;

    if (!ReadAt(pr, 0, adw, sizeof(adw)) || adw[0] != FOURCC_RIFF ||
        adw[2] != formtypeAVI || adw[1] < 4)
        return FALSE;
    dwEnd = (adw[1] > pr->cbFile - 8) ? pr->cbFile : adw[1] + 8;
    for (DWORD dw = 12; dw < dwEnd && dwEnd - dw >= 8; dw = NextChunk(&c)) {
        if (!ReadChunk(pr, dw, dwEnd, &c)) {
            /* Past the header a chunk may be cut short by the end of the
               file (an interrupted copy) or be zero padding; garbage where
               a chunk should start is refused. */
            return bHeader && IsTailEnd(pr, dw);
        }
        if (IsList(pr, &c, listtypeAVIHEADER)) {
            if (bHeader || !CheckHeaderList(pr, &c))
                return FALSE;
            bHeader = TRUE;
        } else if (!bHeader && c.fcc == FOURCC_LIST) {
            return FALSE; /* movie data before any header */
        } else if (bHeader && c.fcc == ckidAVINEWINDEX) {
            return TRUE; /* the index ends what a reader walks */
        }
    }
    return bHeader;
}

BOOL IsWellFormedAvi(LPCSTR pszName)
{
    RIFFREADER r;
    DWORD dwHigh = 0;
    BOOL bOk;

    r.hFile = CreateFileA(pszName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (r.hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    r.cbFile = GetFileSize(r.hFile, &dwHigh);
    if (r.cbFile == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        r.cbFile = 0;
    if (dwHigh != 0 || r.cbFile > AVI_MAX_FILE)
        r.cbFile = AVI_MAX_FILE; /* only the first 4 GiB hold the header */
    r.cChunks = 0;
    bOk = CheckRiff(&r);
    CloseHandle(r.hFile);
    return bOk;
}
