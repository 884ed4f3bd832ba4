#include "JpegPicture.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace quenlith::app::win32 {

HBITMAP LoadJpegResource(HINSTANCE instance, const char* name) {
    HRSRC found = FindResourceA(instance, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    if (!found) {
        return nullptr;
    }
    const DWORD size = SizeofResource(instance, found);
    const void* data = LockResource(LoadResource(instance, found));
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!data || !copy) {
        return nullptr;
    }
    std::memcpy(GlobalLock(copy), data, size);
    GlobalUnlock(copy);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        GlobalFree(copy);
        return nullptr;
    }
    IPicture* picture = nullptr;
    HBITMAP bitmap = nullptr;
    if (SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                 reinterpret_cast<void**>(&picture)))) {
        OLE_HANDLE handle = 0;
        if (SUCCEEDED(picture->get_Handle(&handle))) {
            // The picture owns its bitmap; keep a copy of our own.
            bitmap = static_cast<HBITMAP>(
                CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0,
                          0, LR_CREATEDIBSECTION));
        }
        picture->Release();
    }
    stream->Release();
    return bitmap;
}

} // namespace quenlith::app::win32
