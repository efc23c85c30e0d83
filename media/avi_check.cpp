#include "media/avi_check.h"

#include <vfw.h>

/* Headers of real movies hold a few dozen chunks; a file with more is
   refused rather than walked, so the header check costs the same for any
   file. */
#define AVI_MAX_CHUNKS 4096
#define AVI_MAX_FILE   0xFFFFFFFEu /* keeps every offset + 1 in 32 bits */

#define AVIH_MIN_SIZE        56 /* MainAVIHeader */
#define AVIH_STREAMS_OFFSET  24 /* dwStreams */
#define STRH_MIN_SIZE        48 /* AVIStreamHeader without rcFrame */
#define STRF_MIN_SIZE_VIDEO  40 /* BITMAPINFOHEADER */
#define STRF_MIN_SIZE_AUDIO  14 /* WAVEFORMAT */
#define STRH_HANDLER_OFFSET   4 /* fccHandler */

/* The player control converts frames to 32 bits per pixel and sizes that
   picture in 32-bit arithmetic: wider or larger pictures wrap to a small
   buffer that the frames then overrun. */
#define PICTURE_MAX_WIDTH  0x07FFFFFFu /* width * 32 bits fits */
#define PICTURE_MAX_PIXELS 0x3FFFFFFFu /* width * height * 4 bytes fits */
#define PICTURE_MAX_BITS   32

/* An uncompressed movie's frames are walked one by one; far more than any
   real one holds, and a bound on the time a hostile file can take. */
#define AVI_MAX_FRAMES 0x100000

#define AVI_MAX_INDEX 0x7FFFFFFFu /* readers count the index in a signed size */

static const char HEX_DIGITS[] = "0123456789abcdef";

typedef struct tagRIFFREADER {
    HANDLE hFile;
    DWORD cbFile;
    UINT cChunks;
} RIFFREADER;

/* The first video stream, the one the player control shows. */
typedef struct tagAVIVIDEO {
    BOOL bFound;
    WORD wStreamId; /* its number in two lower-case hex digits */
    FOURCC fccHandler;
    BITMAPINFOHEADER bih;
} AVIVIDEO;

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

/* Reads the chunk header at dwOffset; the chunk must end by dwLimit. The
   header is filled in whenever it could be read. */
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

static DWORD Rows(const BITMAPINFOHEADER *pbih)
{
    return (pbih->biHeight < 0) ? 0u - static_cast<DWORD>(pbih->biHeight)
                                : static_cast<DWORD>(pbih->biHeight);
}

static BOOL HasPixels(const BITMAPINFOHEADER *pbih)
{
    return pbih->biWidth != 0 && pbih->biHeight != 0;
}

/* A picture the player's own arithmetic can hold. A negative width (only
   the height has a sign) wraps it as surely as a huge one; a picture
   without pixels is never converted, so it cannot overrun anything. */
static BOOL IsAddressablePicture(const BITMAPINFOHEADER *pbih)
{
    DWORD dwWidth = static_cast<DWORD>(pbih->biWidth);

    if (pbih->biWidth < 0)
        return FALSE;
    return !HasPixels(pbih) ||
           (dwWidth <= PICTURE_MAX_WIDTH && dwWidth <= PICTURE_MAX_PIXELS / Rows(pbih));
}

/* A stream list: its header, then its format, each of a usable size. */
static BOOL CheckStreamList(RIFFREADER *pr, const RIFFCHUNK *pList, DWORD dwStream,
                            AVIVIDEO *pVideo)
{
    RIFFCHUNK c;
    FOURCC fccType = 0, fccHandler = 0;
    BOOL bFormat = FALSE;
    DWORD cbMinFormat = 1;
    BITMAPINFOHEADER bih;

    for (DWORD dw = pList->dwData + 4; dw < ChunkEnd(pList); dw = NextChunk(&c)) {
        if (!ReadChunk(pr, dw, ChunkEnd(pList), &c))
            return FALSE;
        if (c.fcc == mmioFOURCC('s', 't', 'r', 'h')) {
            if (fccType != 0 || c.cb < STRH_MIN_SIZE || !ReadAt(pr, c.dwData, &fccType, 4) ||
                !ReadAt(pr, c.dwData + STRH_HANDLER_OFFSET, &fccHandler, 4))
                return FALSE;
            if (fccType == streamtypeVIDEO)
                cbMinFormat = STRF_MIN_SIZE_VIDEO;
            else if (fccType == streamtypeAUDIO)
                cbMinFormat = STRF_MIN_SIZE_AUDIO;
        } else if (c.fcc == mmioFOURCC('s', 't', 'r', 'f')) {
            if (fccType == 0 || bFormat || c.cb < cbMinFormat)
                return FALSE;
            if (fccType == streamtypeVIDEO) {
                /* Codecs copy as much of the format as its header says. */
                if (!ReadAt(pr, c.dwData, &bih, sizeof(bih)) || bih.biSize > c.cb ||
                    !IsAddressablePicture(&bih))
                    return FALSE;
                if (!pVideo->bFound) {
                    pVideo->bFound = TRUE;
                    pVideo->wStreamId = static_cast<WORD>(
                        HEX_DIGITS[(dwStream >> 4) & 15] | HEX_DIGITS[dwStream & 15] << 8);
                    pVideo->fccHandler = fccHandler;
                    pVideo->bih = bih;
                }
            }
            bFormat = TRUE;
        }
    }
    return bFormat;
}

/* The header list: the main header first, then as many stream lists as it
   declares, at least one. */
static BOOL CheckHeaderList(RIFFREADER *pr, const RIFFCHUNK *pList, AVIVIDEO *pVideo)
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
            if (!CheckStreamList(pr, &c, cStreams, pVideo))
                return FALSE;
            ++cStreams;
        }
    }
    return dwStreams >= 1 && cStreams == dwStreams;
}

/* Whether the player control takes a chunk for a frame of the video: named
   by the stream's number and a frame, compressed or palette type. */
static BOOL IsVideoFrame(const AVIVIDEO *pv, FOURCC fcc)
{
    WORD wType = HIWORD(fcc);

    /* Either case of hex digit names the stream. */
    if ((LOWORD(fcc) | 0x2020) != pv->wStreamId)
        return FALSE;
    return wType == aviTWOCC('d', 'b') || wType == aviTWOCC('d', 'c') ||
           wType == aviTWOCC('p', 'c') || wType == LOWORD(pv->bih.biCompression) ||
           wType == LOWORD(pv->fccHandler);
}

/* An uncompressed frame is the whole picture: the player copies a frame
   whole into a picture of the size the format declares, or draws the whole
   picture from where it read the frame, so a larger frame overruns the
   picture and a shorter one is read past its end. An empty frame repeats
   the last one; a palette change is never larger than a picture. */
static BOOL CheckFrames(RIFFREADER *pr, const AVIVIDEO *pv, DWORD dwStart, DWORD dwEnd,
                        BOOL bRecord, UINT *pcFrames)
{
    const BITMAPINFOHEADER *pbih = &pv->bih;
    DWORD cbPicture = ((static_cast<DWORD>(pbih->biWidth) * pbih->biBitCount + 31) >> 5 << 2) *
                      Rows(pbih);
    DWORD adw[2];
    FOURCC fccList;

    if (pbih->biCompression != BI_RGB || !HasPixels(pbih) || pbih->biBitCount == 0 ||
        pbih->biBitCount > PICTURE_MAX_BITS)
        return TRUE;
    for (DWORD dw = dwStart; dw < dwEnd && dwEnd - dw >= 8;) {
        if (++*pcFrames > AVI_MAX_FRAMES || !ReadAt(pr, dw, adw, sizeof(adw)))
            return FALSE;
        if (!bRecord && adw[0] == FOURCC_LIST && adw[1] >= 4 && dwEnd - dw >= 12 &&
            ReadAt(pr, dw + 8, &fccList, 4) && fccList == listtypeAVIRECORD) {
            DWORD dwRecord = (adw[1] > dwEnd - dw - 8) ? dwEnd : dw + 8 + adw[1];
            if (!CheckFrames(pr, pv, dw + 12, dwRecord, TRUE, pcFrames))
                return FALSE;
        } else if (IsVideoFrame(pv, adw[0]) &&
                   (adw[1] > cbPicture || (adw[1] != 0 && adw[1] < cbPicture &&
                                           HIWORD(adw[0]) != aviTWOCC('p', 'c')))) {
            return FALSE;
        }
        if (adw[1] >= dwEnd - dw - 8)
            break; /* the last chunk, whole or cut short */
        dw += 8 + adw[1] + (adw[1] & 1);
    }
    return TRUE;
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
    BOOL bHeader = FALSE, bMovie = FALSE, bWhole, bRead;
    DWORD dwEnd;
    AVIVIDEO video;
    UINT cFrames = 0;

    video.bFound = FALSE;
    c.dwData = 0; /* no chunk read yet */

    if (!ReadAt(pr, 0, adw, sizeof(adw)) || adw[0] != FOURCC_RIFF ||
        adw[2] != formtypeAVI || adw[1] < 4)
        return FALSE;
    dwEnd = (adw[1] > pr->cbFile - 8) ? pr->cbFile : adw[1] + 8;
    for (DWORD dw = 12; dw < dwEnd && dwEnd - dw >= 8; dw = NextChunk(&c)) {
        bWhole = ReadChunk(pr, dw, dwEnd, &c);
        bRead = (c.dwData == dw + 8); /* its header, at least */
        if (bHeader && bRead && !bMovie && IsList(pr, &c, listtypeAVIMOVIE)) {
            /* The movie list the player walks, whole or cut short. */
            bMovie = TRUE;
            if (video.bFound &&
                !CheckFrames(pr, &video, c.dwData + 4,
                             bWhole ? ChunkEnd(&c) : pr->cbFile, FALSE, &cFrames))
                return FALSE;
        }
        /* An index may be cut short, but readers take its size as a signed
           32-bit count: from 2 GiB on it turns negative. */
        if (bRead && c.fcc == ckidAVINEWINDEX && c.cb > AVI_MAX_INDEX)
            return FALSE;
        if (!bWhole) {
            /* Past the header a chunk may be cut short by the end of the
               file (an interrupted copy) or be zero padding; garbage where
               a chunk should start is refused. */
            return bHeader && IsTailEnd(pr, dw);
        }
        if (IsList(pr, &c, listtypeAVIHEADER)) {
            if (bHeader || !CheckHeaderList(pr, &c, &video))
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
